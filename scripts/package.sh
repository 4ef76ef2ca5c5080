#!/usr/bin/env bash
# Builds the release Tockwen.exe and packs it for Windows users: dist/Tockwen-<version>.zip
# (Tockwen.exe, README.txt, LICENSE.txt) and dist/SHA256SUMS for the zip and the exe.
# The same commit always gives the same zip bytes: the exe carries no link time, and the zip
# has fixed file times (the commit's), a fixed file order and no extra fields.
# dist/ is the script's own output folder and is written afresh on every run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh
build=build/package
cmake --no-warn-unused-cli -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DTOCKWEN_TESTS=OFF >/dev/null
cmake --build $build -j"$(nproc)" --target Tockwen

# The version resource's FileVersion text: the macro as the resource compiler sees it, with
# adjacent string literals joined.
version=$(printf '#include "app/Version.h"\nTOCKWEN_FILE_VERSION\n' |
    i686-w64-mingw32-gcc -E -P -x c -DRC_INVOKED -I. - | grep -o '"[^"]*"' | tr -d '"\n')
[[ $version =~ ^[0-9A-Za-z.]+$ ]] || { echo "no usable TOCKWEN_FILE_VERSION: '$version'" >&2; exit 1; }

# file times in the zip: SOURCE_DATE_EPOCH if set, else the commit's time
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 1767225600)}

stage=$build/zip
zip=dist/Tockwen-$version.zip
rm -rf "$stage" dist
mkdir -p "$stage" dist
cp $build/Tockwen.exe "$stage/"
# Notepad reads UTF-8 reliably only with a byte order mark; CRLF for Windows editors
{
    printf '\xEF\xBB\xBF'
    sed "s/@VERSION@/$version/; s/\r*\$/\r/" docs/README-windows.txt
} >"$stage/README.txt"
sed 's/\r*$/\r/' LICENSE >"$stage/LICENSE.txt"
chmod 644 "$stage"/*
touch -d "@$epoch" "$stage"/*
# -X: no uid/gid or extra time fields; -D: no directory entries; DOS times taken in UTC
(cd "$stage" && TZ=UTC zip -q -X -D "$root/$zip" Tockwen.exe README.txt LICENSE.txt)

sha256sum "$zip" | sed 's|dist/||' >dist/SHA256SUMS
(cd "$stage" && sha256sum Tockwen.exe) >>dist/SHA256SUMS
echo "$zip"
cat dist/SHA256SUMS
