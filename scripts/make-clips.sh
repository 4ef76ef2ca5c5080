#!/bin/sh
# Makes the twenty Korean voice clips in resources/clips/ with espeak-ng and sox.
#
# Each clip is spoken by espeak-ng's Korean voice, converted to 16 kHz mono 16-bit PCM and
# trimmed of leading and trailing silence, so that an announcement's three clips follow one
# another without gaps. The outputs are committed: building the program needs neither tool.
# Run from anywhere: sh scripts/make-clips.sh
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/resources/clips"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# Samples quieter than this count as silence; espeak-ng pads with true silence, so the cut
# lands right where the voice starts and ends.
threshold=-45d

# clip number and what it says; the numbers are the resource names the announcer plays
while read -r id text; do
    [ -n "$id" ] || continue
    espeak-ng -v ko -w "$tmp/raw.wav" "$text"
    # -D: no dither, so the same espeak-ng output always gives the same bytes. Every clip is
    # brought to the same peak, 2 dB below full scale so that resampling cannot clip.
    sox -D "$tmp/raw.wav" -r 16000 -c 1 -b 16 -e signed-integer "$out/$id.wav" \
        gain -n -2 rate 16000 \
        silence 1 0.005 "$threshold" reverse silence 1 0.005 "$threshold" reverse
    printf '%s %-8s %s s\n' "$id" "$text" "$(soxi -D "$out/$id.wav")"
done <<'CLIPS'
102 한 시
103 두 시
104 세 시
105 네 시
106 다섯 시
107 여섯 시
108 일곱 시
109 여덟 시
110 아홉 시
111 십 분
112 열 시
113 열한 시
114 열두 시
115 이십 분
116 삼십 분
117 사십 분
118 오십 분
119 오전
120 오후
121 정각
CLIPS
