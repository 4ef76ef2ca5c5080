#!/usr/bin/env bash
# Prints the program's figures for the record, measured under Wine on a private desktop: start-up
# time to the tray icon, memory at rest, the running clock's CPU share, what a redraw and a tick
# with its shell update cost, and how often the clock wakes (WM_TIMER messages handled) and sends
# the shell an icon in a real minute seen and in one locked. Not part of the
# test command: these are measurements, not pass marks, and they take a few minutes.
#
#   scripts/measure-figures.sh [-s CPU_SECONDS] [-n TICKS] [GTEST_FILTER]
#
# CPU_SECONDS (default 60) is how long the CPU share is measured; TICKS (default 10000) how many
# redraws and ticks are timed; GTEST_FILTER picks figures, e.g. 'Figures.TickCost'. It needs the
# packages of the test command, and builds what it runs.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
ticks=10000
while getopts s:n: option; do
    case $option in
    s) seconds=$OPTARG ;;
    n) ticks=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
filter=${1:-Figures.*}

bash scripts/setup.sh
# the shipped 32-bit build; where the kernel runs no 32-bit programs, the 64-bit build
build=build/win toolchain=cmake/mingw-i686.cmake
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    build=build/win64 toolchain=cmake/mingw-x86_64.cmake
fi
cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build $build -j"$(nproc)" --target figures

env=tests/support/wine-env.sh
world=$build/figures
mkdir -p $world
trap '$env down $world >/dev/null 2>&1 || true' EXIT
$env up $world >/dev/null
TOCKWEN_CPU_SECONDS=$seconds TOCKWEN_TICKS=$ticks TOCKWEN_REDRAWS=$ticks \
    $env run $world "$(pwd)/$build/figures.exe" --gtest_filter="$filter" | tr -d '\r' |
    grep -E '^\[ figure|^\[  FAILED|^\[  PASSED'
