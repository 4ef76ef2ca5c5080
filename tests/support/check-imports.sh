#!/usr/bin/env bash
# Tockwen.exe must run on its own and be safe to run from any folder: it imports only DLLs that
# Windows always takes from the system folder, and keeps ASLR and DEP.
set -euo pipefail
exe=${1:?path to Tockwen.exe}
# the i686 build, or the x86_64 one the tests may run
for objdump in i686-w64-mingw32-objdump x86_64-w64-mingw32-objdump; do
    headers=$($objdump -p "$exe" 2>/dev/null) && break
done
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
echo "$dlls"
# The KnownDLLs of current Windows, which the loader maps from the system folder whatever lies
# beside the program. comctl32 is not among them, but the manifest binds it to the
# Common-Controls 6 assembly, which is looked for in the system's WinSxS store first (and a
# .local redirection is ignored when there is a manifest). winmm and version are not safe.
bad=$(grep -viE '^(kernel32|user32|gdi32|shell32|advapi32|comdlg32|ole32|oleaut32|msvcrt|shlwapi|comctl32)\.dll$' <<<"$dlls" || true)
if [ -n "$bad" ]; then
    echo "not always loaded from the system folder: $bad" >&2
    exit 1
fi
# GUI subsystem (2), not a console program
grep -E '^Subsystem\s+0+2\b' <<<"$headers"
# ASLR (DYNAMIC_BASE 0x40, with its relocations kept) and DEP (NX_COMPAT 0x100)
flags=$((16#$(sed -n 's/^DllCharacteristics\s*//p' <<<"$headers")))
if (((flags & 0x140) != 0x140)); then
    printf 'DllCharacteristics 0x%x: DYNAMIC_BASE or NX_COMPAT missing\n' "$flags" >&2
    exit 1
fi
relocs=$(sed -n 's/^Entry 5 [0-9a-f]* \([0-9a-f]*\) Base Relocation Directory.*/\1/p' <<<"$headers")
if ((16#${relocs:-0} == 0)); then
    echo "no relocations: ASLR cannot move the program" >&2
    exit 1
fi
printf 'DllCharacteristics 0x%x\n' "$flags"
