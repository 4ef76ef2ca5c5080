#!/usr/bin/env bash
# Tockwen.exe must run on its own: it may import system DLLs only, no MinGW runtime.
set -euo pipefail
exe=${1:?path to Tockwen.exe}
# the 64-bit binutils read both the 32-bit and the 64-bit program
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v i686-w64-mingw32-objdump)
dlls=$($objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
echo "$dlls"
bad=$(echo "$dlls" | grep -viE '^(kernel32|user32|gdi32|shell32|advapi32|comctl32|comdlg32|winmm|ole32|oleaut32|msvcrt|shlwapi|version)\.dll$' || true)
if [ -n "$bad" ]; then
    echo "not a system DLL: $bad" >&2
    exit 1
fi
# GUI subsystem (2), not a console program
$objdump -p "$exe" | grep -E '^Subsystem\s+0+2\b'
