#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the platform-free core
# natively (ASan + UBSan, fuzzer, benchmark smoke run) and the Windows side under Wine.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
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

cmake -S . -B build/native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DTOCKWEN_WERROR=ON >/dev/null
cmake --build build/native -j"$jobs"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DTOCKWEN_WERROR=ON >/dev/null
cmake --build build/win -j"$jobs"
# Where the kernel runs no 32-bit programs, 32-bit Wine cannot start: the Windows tests then run
# under 64-bit Wine against a 64-bit build of the same sources, and the shipped 32-bit build
# keeps its checks that need no Wine.
wine_build=build/win
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "this machine runs no 32-bit programs: the Wine tests use the 64-bit build"
    wine_build=build/win64
    cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
        -DTOCKWEN_WERROR=ON >/dev/null
    cmake --build build/win64 -j"$jobs"
fi
t2=$(date +%s)

(cd build/native && ctest --output-on-failure -j"$jobs") || status=1
t3=$(date +%s)
if [ "$wine_build" != build/win ]; then
    (cd build/win && ctest --output-on-failure -LE wine) || status=1
fi
(cd "$wine_build" && ctest --output-on-failure) || status=1
t4=$(date +%s)

# the release: a second run, with the exe linked afresh, must give the same bytes in every file
# (the zip and the installer among them), and the zip must hold exactly the exe, README.txt and
# LICENSE.txt, in that order. The sources' time is given, as this checkout may hold changes that
# are not committed yet.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 1767225600)}
first=build/package/first-dist
if SOURCE_DATE_EPOCH=$epoch bash scripts/package.sh && rm -rf $first && mv dist $first &&
    rm build/package/Tockwen.exe && SOURCE_DATE_EPOCH=$epoch bash scripts/package.sh; then
    diff -r $first dist || { echo "PACKAGE CHECK FAILED: two runs gave different files"; status=1; }
    ls dist/Tockwen-*-setup.exe >/dev/null || { echo "PACKAGE CHECK FAILED: no installer"; status=1; }
    [ "$(unzip -Z1 dist/Tockwen-*.zip | tr '\n' ' ')" = "Tockwen.exe README.txt LICENSE.txt " ] ||
        { echo "PACKAGE CHECK FAILED: the zip does not hold exactly its three files"; status=1; }
else
    echo "PACKAGE CHECK FAILED: package.sh did not finish"
    status=1
fi
t5=$(date +%s)

echo
echo "install $((t1 - t0)) s, build $((t2 - t1)) s, native tests $((t3 - t2)) s, Wine tests $((t4 - t3)) s, package twice $((t5 - t4)) s"
[ $status -eq 0 ] && echo "all tests passed" || echo "SOME TESTS FAILED"
exit $status
