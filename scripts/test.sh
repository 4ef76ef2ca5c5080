#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the platform-free core
# natively (ASan + UBSan, fuzzer, benchmark smoke run) and the Windows side under Wine, then the
# release (zip and installer) twice, with a check of its package manifests. Exits non-zero on any
# failure.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

t0=$(date +%s)
bash scripts/setup.sh
t1=$(date +%s)

status=0
# formatting is part of the checks; a violation fails the run but does not stop the tests
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || true)
if [ -n "$files" ]; then
    # shellcheck disable=SC2086
    clang-format --dry-run -Werror $files || { echo "FORMAT CHECK FAILED (run clang-format -i)"; status=1; }
fi

# Where the kernel runs no 32-bit programs, 32-bit Wine cannot start: the Windows tests then run
# under 64-bit Wine against a 64-bit build of the same sources, and of the shipped 32-bit build
# only what its checks without Wine need is built.
wine_build=build/win
win_targets=()
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "this machine runs no 32-bit programs: the Wine tests use the 64-bit build"
    wine_build=build/win64
    win_targets=(--target Tockwen tockwen_core)
fi
# Ninja for a new build folder (one made before keeps its generator)
export CMAKE_GENERATOR=Ninja
configure() {
    case $1 in
    build/native) cmake -S . -B build/native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=Debug -DTOCKWEN_WERROR=ON >/dev/null ;;
    build/win) cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
        -DTOCKWEN_WERROR=ON >/dev/null ;;
    build/win64) cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DTOCKWEN_WERROR=ON >/dev/null ;;
    esac
}
configure "$wine_build"
# Every Wine world of the tests boots now, one after another, while the build runs (their
# ctest set-ups, run on their own; the tests below then find them up): no world may boot while a
# check listens to the clock's sound, as a boot beside one broke that sound up.
up_log=build/wine-worlds.log
(cd "$wine_build" && ctest --output-on-failure -j5 -R '^wine_env_up_') >$up_log 2>&1 &
worlds=$!
# The native build and (where the Wine tests use the 64-bit one) the shipped 32-bit program build
# at a low priority from the start: they take the processors mostly when the Wine build and tests
# leave them idle, the native one before the other, as its tests take longer than the release's.
# Each reports in a log of its own.
build_log() { echo "build/$(basename "$1")-build.log"; }
background_build() {
    (configure "$2" && nice -n "$1" cmake --build "$2" -j"$jobs" "${@:3}") >"$(build_log "$2")" 2>&1
}
background_build 10 build/native &
native_build=$!
win_build=""
if [ "$wine_build" != build/win ]; then
    background_build 19 build/win "${win_targets[@]}" &
    win_build=$!
fi
# a background build that failed fails the run, with what it printed
collect() { wait "$1" || { cat "$(build_log "$2")"; echo "BUILD FAILED: $2"; exit 1; }; }

# should the script stop early, all it started (builds with their compilers, ctest with its tests)
# and its Wine worlds go with it
stop_tree() {
    local kids
    kids=$(ps -o pid= --ppid "$1" 2>/dev/null || true)
    kill "$1" 2>/dev/null || true
    for kid in $kids; do stop_tree "$kid"; done
}
trap 'for job in $(ps -o pid= --ppid $$); do stop_tree $job; done
    (cd "$wine_build" && ctest -j5 -R "^wine_env_down_") >/dev/null 2>&1 || true' EXIT
# The program, its installer and the end-to-end tests first: the checks that wait on real time
# (the tray over a whole minute, the timer, the alarm) and the rest of the end-to-end tests need
# no more, so they start as soon as these are made and the worlds are up, beside the rest of the
# build. Their worlds run at real-time priority (tests/support/wine-env.sh), so no build can hold
# them up. In the main world the Win32 tests follow the end-to-end tests, and the rest follow
# those once the build is made; the checks report in a log of their own.
cmake --build "$wine_build" -j"$jobs" --target e2e_tests
t2=$(date +%s)
wait $worlds || { cat $up_log; echo "WINE WORLDS FAILED"; exit 1; }
wine_tests() { (cd "$wine_build" && ctest --output-on-failure -FA '.*' "$@"); }
# the main world's next tests, once the ones before them (process $1) are over
main_world_next() { (while kill -0 "$1" 2>/dev/null; do sleep 0.2; done && wine_tests "${@:2}"); }
checks='^(e2e_whole_minute|e2e_timer|e2e_alarm|e2e_tray_dpi144)$'
clock_log=build/wine-tests-clock.log main_log=build/wine-tests-main.log
wine_tests -j4 -R "$checks" >$clock_log 2>&1 &
clock=$!
wine_tests -R '^e2e_tests$' >$main_log 2>&1 &
e2e=$!
cmake --build "$wine_build" -j"$jobs" --target win_tests
main_world_next $e2e -R '^win_tests$' >>$main_log 2>&1 &
win=$!
cmake --build "$wine_build" -j"$jobs"
t3=$(date +%s)
main_world_next $win -E "^wine_env_|$checks|^e2e_tests\$|^win_tests\$" >>$main_log 2>&1 &
main=$!

# The native tests and the release run beside the Wine tests too, each as soon as its build is
# made.
collect $native_build build/native
native_log=build/native-tests.log
(
    s0=$(date +%s)
    (cd build/native && ctest --output-on-failure -j"$jobs") || echo "NATIVE TESTS FAILED"
    echo "native tests took $(($(date +%s) - s0)) s"
) >$native_log 2>&1 &
native=$!
[ -z "$win_build" ] || collect $win_build build/win

# The release, twice: a second run, with the exe linked afresh, must give the same bytes in every
# file (the zip and the installer among them), and the zip must hold exactly the exe, README.txt
# and LICENSE.txt, in that order. Both pack the 32-bit build's exe, the second one linked again
# from the same objects into a folder of its own (the Wine tests may be running the first). The
# sources' time is given, as this checkout may hold changes that are not committed yet.
relink() {
    rm -rf build/win/relinked && mkdir -p build/win/relinked
    # the build's own link command of Tockwen.exe (Ninja's, or the Makefiles' script), with the
    # outputs put in the folder of their own
    local link
    if [ -f build/win/build.ninja ]; then
        link="cd build/win && $(ninja -C build/win -t commands Tockwen.exe | tail -n 1)"
    else
        link="cd build/win && $(cat build/win/CMakeFiles/Tockwen.dir/link.txt)"
    fi
    (sed -e 's| -o Tockwen\.exe | -o relinked/Tockwen.exe |' \
        -e 's|--out-implib,libTockwen\.dll\.a|--out-implib,relinked/libTockwen.dll.a|' <<<"$link" | sh)
}
package_log=build/package-tests.log
(
    s0=$(date +%s)
    epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 1767225600)}
    first=build/package/first-dist
    if SOURCE_DATE_EPOCH=$epoch TOCKWEN_PACKAGE_EXE=build/win/Tockwen.exe bash scripts/package.sh &&
        rm -rf $first && mv dist $first && relink &&
        SOURCE_DATE_EPOCH=$epoch TOCKWEN_PACKAGE_EXE=build/win/relinked/Tockwen.exe bash scripts/package.sh; then
        diff -r $first dist || echo "PACKAGE CHECK FAILED: two runs gave different files"
        ls dist/Tockwen-*-setup.exe >/dev/null || echo "PACKAGE CHECK FAILED: no installer"
        [ "$(unzip -Z1 dist/Tockwen-*.zip | tr '\n' ' ')" = "Tockwen.exe README.txt LICENSE.txt " ] ||
            echo "PACKAGE CHECK FAILED: the zip does not hold exactly its three files"
        # what the winget and scoop schemas require of the manifests
        python3 scripts/check-manifests.py dist
    else
        echo "PACKAGE CHECK FAILED: package.sh did not finish"
    fi
    echo "packing twice took $(($(date +%s) - s0)) s"
) >$package_log 2>&1 &
package=$!

if [ "$wine_build" != build/win ]; then
    (cd build/win && ctest --output-on-failure -LE wine) || status=1
fi
for group in $clock $e2e $win $main; do wait $group || status=1; done
t4=$(date +%s)
(cd "$wine_build" && ctest --output-on-failure -j5 -R '^wine_env_down_') >>$up_log 2>&1 || status=1
cat $up_log $main_log $clock_log
wait $native $package || true
cat $native_log $package_log
grep -q "FAILED" $native_log $package_log && status=1
trap - EXIT
t5=$(date +%s)

echo
echo "install $((t1 - t0)) s, Wine build $((t2 - t1)) s to the end-to-end tests and $((t3 - t2)) s more beside" \
    "them, Wine tests $((t4 - t2)) s from their start ($(sed -n 's/ took / /p' $native_log $package_log |
        paste -sd, | sed 's/,/, /') beside them), then waited $((t5 - t4)) s for the native tests and the" \
    "release; total $((t5 - t0)) s"
[ $status -eq 0 ] && echo "all tests passed" || echo "SOME TESTS FAILED"
exit $status
