#!/usr/bin/env bash
# Installs what is missing, builds Tockwen.exe and starts the tray clock under Wine.
# With a display it runs there until you choose Exit from its tray menu. Without one it starts
# a virtual display with Wine's desktop, lets the clock run for a few seconds, saves a
# screenshot of the desktop with the tray icon and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
# the shipped 32-bit program; where the kernel runs no 32-bit programs (so no 32-bit Wine
# either), the 64-bit build of the same sources
build=build/win toolchain=cmake/mingw-i686.cmake arch=win32 wine=wine
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    build=build/win64 toolchain=cmake/mingw-x86_64.cmake arch=win64 wine=/usr/lib/wine/wine64
    export WINELOADER=$wine
fi
# Ninja for a new build folder, as the test command makes them (one made before keeps its generator)
CMAKE_GENERATOR=Ninja cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build $build -j"$(nproc)" --target Tockwen
exe=$(pwd)/$build/Tockwen.exe
mkdir -p build/run

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    # a prefix of its own, so that your own Wine setup is left alone
    export WINEPREFIX=$(pwd)/build/run/wineprefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    echo "starting Tockwen on $DISPLAY (right-click the tray clock for its menu)"
    exec $wine "$exe"
fi

env=tests/support/wine-env.sh
trap '$env down build/run >/dev/null' EXIT
$env up build/run
$env run build/run "$exe" &
. build/run/wine-state/env
shot=$(pwd)/build/run/tray-$(date +%Y%m%d-%H%M%S).png
# a new prefix paints its desktop late: wait (a minute at most) until the tray's corner shows
# more than the bare taskbar, that is the clock's colours, then let it run a few seconds more
for _ in $(seq 60); do
    sleep 1
    import -window root "$shot"
    [ "$(convert "$shot" -gravity SouthEast -crop 120x24+0+0 +repage -format %k info:)" -ge 5 ] && break
done
sleep 3
import -window root "$shot"
# the tray's corner, enlarged, beside the full desktop
convert "$shot" -gravity SouthEast -crop 120x24+0+0 +repage -scale 400% "${shot%.png}-tray.png"
echo "screenshot: $shot"
echo "tray close-up: ${shot%.png}-tray.png"
