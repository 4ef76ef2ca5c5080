#!/usr/bin/env bash
# Tockwen.exe must run on its own and be safe to run from any folder: no MinGW runtime, only DLLs
# that Windows always takes from the system folder, ASLR and DEP kept.
set -euo pipefail
exe=${1:?path to Tockwen.exe}
for objdump in i686-w64-mingw32-objdump x86_64-w64-mingw32-objdump; do
    headers=$($objdump -p "$exe" 2>/dev/null) && break
done
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
echo "$dlls"
# KnownDLLs of current Windows, plus comctl32: the manifest binds it to the Common-Controls 6
# assembly, looked for in the system's WinSxS store first. Not winmm or version.
bad=$(grep -viE '^(kernel32|user32|gdi32|shell32|advapi32|comdlg32|ole32|oleaut32|msvcrt|shlwapi|comctl32)\.dll$' <<<"$dlls" || true)
if [ -n "$bad" ]; then
    echo "not always loaded from the system folder: $bad" >&2
    exit 1
fi
# GUI subsystem (2), not a console program
grep -E '^Subsystem\s+0+2\b' <<<"$headers"
# DYNAMIC_BASE (0x40; the linker drops it without relocations) and NX_COMPAT (0x100)
flags=$((16#$(sed -n 's/^DllCharacteristics\s*//p' <<<"$headers")))
printf 'DllCharacteristics 0x%x\n' "$flags"
((flags & 0x40 && flags & 0x100)) || { echo "ASLR or DEP missing" >&2; exit 1; }
