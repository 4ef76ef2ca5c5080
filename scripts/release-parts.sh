#!/usr/bin/env bash
# The pieces of a release, shared by scripts/package.sh and the build of the test installer:
#
#   release-parts.sh version                 print the version (the version resource's FileVersion)
#   release-parts.sh company                 print the version resource's CompanyName
#   release-parts.sh stage EXE DIR           put Tockwen.exe, README.txt and LICENSE.txt into DIR,
#                                            as Windows users get them
#   release-parts.sh installer DIR OUT [ARCH]
#                                            make the installer OUT from such a DIR; ARCH x86 (the
#                                            shipped one, the default) or amd64 (a 64-bit test build)
#
# With SOURCE_DATE_EPOCH set, the staged files carry that time, which the zip and the installer
# store.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# The FileVersion text: the macro as the resource compiler sees it, with adjacent string
# literals joined.
version() {
    local v
    v=$(printf '#include "app/Version.h"\nTOCKWEN_FILE_VERSION\n' |
        i686-w64-mingw32-gcc -E -P -x c -DRC_INVOKED -I"$root" - | grep -o '"[^"]*"' | tr -d '"\n')
    [[ $v =~ ^[0-9A-Za-z.]+$ ]] || { echo "no usable TOCKWEN_FILE_VERSION: '$v'" >&2; exit 1; }
    echo "$v"
}

# A plain text of the version resource in resources/Tockwen.rc
resource_text() {
    sed -n "s/^ *VALUE \"$1\", \"\([^\"]*\)\"\r*\$/\1/p" "$root/resources/Tockwen.rc"
}

company() {
    local c
    c=$(resource_text CompanyName)
    [[ $c =~ ^[0-9A-Za-z.\ -]+$ ]] || { echo "no usable CompanyName: '$c'" >&2; exit 1; }
    echo "$c"
}

stage() {
    local exe=${1:?exe} dir=${2:?folder} v
    v=$(version)
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$exe" "$dir/Tockwen.exe"
    # Notepad reads UTF-8 reliably only with a byte order mark; CRLF for Windows editors
    {
        printf '\xEF\xBB\xBF'
        sed "s/@VERSION@/$v/; s/\r*\$/\r/" "$root/docs/README-windows.txt"
    } >"$dir/README.txt"
    sed 's/\r*$/\r/' "$root/LICENSE" >"$dir/LICENSE.txt"
    chmod 644 "$dir"/*
    if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then touch -d "@$SOURCE_DATE_EPOCH" "$dir"/*; fi
}

installer() {
    local dir out arch=${3:-x86}
    dir=$(cd "${1:?folder}" && pwd)
    out=$(cd "$(dirname "${2:?installer}")" && pwd)/$(basename "$2")
    # -WX: a warning is an error; the script's text is UTF-8 (Korean)
    makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$(version)" -DCOMPANY="$(company)" -DSTAGE="$dir" -DOUTFILE="$out" \
        -DTARGET="$arch-unicode" "$root/installer/Tockwen.nsi"
}

cmd=${1:?version, company, stage or installer}
shift
case $cmd in
version | company | stage | installer) "$cmd" "$@" ;;
*) echo "unknown command $cmd" >&2; exit 2 ;;
esac
