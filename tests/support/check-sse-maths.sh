#!/usr/bin/env bash
# The 32-bit build must do its double arithmetic in SSE2, as the native build does: x87 maths
# rounds through 80-bit intermediates and moves pixels of the clock face. Loads and stores of
# x87 registers stay (the 32-bit calling convention returns doubles in them, exactly); no x87
# arithmetic may be left in the project's own code.
set -euo pipefail
lib=${1:?path to the core library}
objdump=$(command -v i686-w64-mingw32-objdump || command -v x86_64-w64-mingw32-objdump)
x87=$($objdump -d "$lib" |
    grep -E $'\tf(i?(add|sub|subr|mul|div|divr)[lsp]?p?|sqrt|sin|cos|sincos|patan|ptan|rndint|prem1?|scale|2xm1|yl2x|yl2xp1)( |$)' || true)
if [ -n "$x87" ]; then
    echo "x87 arithmetic in $lib:" >&2
    echo "$x87" | head -n 20 >&2
    exit 1
fi
echo "no x87 arithmetic in $lib; SSE2 instructions: $($objdump -d "$lib" | grep -cE $'\t(add|sub|mul|div)sd ')"
