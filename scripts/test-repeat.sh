#!/usr/bin/env bash
# Runs the Wine test suites N times in a row on the build the test command made, stopping at the
# first failure, and prints how many runs passed. A test that fails by chance shows here.
#
#   scripts/test-repeat.sh N
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:?how many runs}

# the build the test command runs the Wine tests on
build=build/win
/usr/lib/wine/wine --version >/dev/null 2>&1 || build=build/win64
[ -f $build/CTestTestfile.cmake ] || { echo "no $build yet: run bash scripts/test.sh first" >&2; exit 2; }
cmake --build $build -j"$(nproc)" >/dev/null

passed=0
for run in $(seq "$runs"); do
    log=build/test-repeat-$run.log
    start=$(date +%s)
    # every Wine test, the worlds of the checks that wait on real time beside the others, as the
    # test command runs them
    if (cd $build && ctest --output-on-failure -j5 -L wine) >"$log" 2>&1; then
        passed=$((passed + 1))
        echo "run $run: passed in $(($(date +%s) - start)) s"
    else
        echo "run $run: FAILED after $(($(date +%s) - start)) s (log: $log)"
        grep -E 'FAILED|Failure|Expected|Which is|error' "$log" | head -40
        break
    fi
done
echo "$passed of $runs runs passed"
[ "$passed" -eq "$runs" ]
