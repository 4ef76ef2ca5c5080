#!/bin/sh
# Makes the thirty-four Korean voice clips in resources/clips/ with espeak-ng and sox.
#
# Each clip is spoken by espeak-ng's Korean voice, converted to 16 kHz mono 16-bit PCM and
# trimmed of leading and trailing silence, so that an announcement's clips follow one another
# without gaps. The outputs are committed: building the program needs neither tool.
# Run from anywhere: sh scripts/make-clips.sh (installs espeak-ng and sox with apt-get when
# they are missing; nothing else needs them).
set -eu

if ! command -v espeak-ng >/dev/null 2>&1 || ! command -v sox >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends espeak-ng sox >/dev/null
fi

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/resources/clips"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# Samples quieter than this count as silence; espeak-ng pads with true silence, so the cut
# lands right where the voice starts and ends.
threshold=-45d

# Clip number, what it says and the phonemes espeak-ng must make of it (--ipa). The text is in
# its pronounced spelling where espeak-ng would read the written one letter by letter: 여덟 시
# comes out [여덥 시] (jʌdˈʌp), so 109 says 여덜 시; in 열한 시 the ㅎ drops in natural speech, so
# 113 says 여란 시. A clip whose phonemes differ stops the script, to be listened to and checked.
# The numbers are the resource names the announcer plays.
while IFS='|' read -r id text ipa; do
    [ -n "$id" ] || continue
    said=$(espeak-ng -v ko -q --ipa "$text" | sed 's/^ *//; s/ *$//')
    [ "$said" = "$ipa" ] || { echo "clip $id: espeak-ng says [$said], not [$ipa]" >&2; exit 1; }
    espeak-ng -v ko -w "$tmp/raw.wav" "$text"
    # -D: no dither, so the same espeak-ng output always gives the same bytes. Every clip is
    # brought to the same peak, 2 dB below full scale so that resampling cannot clip.
    sox -D "$tmp/raw.wav" -r 16000 -c 1 -b 16 -e signed-integer "$out/$id.wav" \
        gain -n -2 rate 16000 \
        silence 1 0.005 "$threshold" reverse silence 1 0.005 "$threshold" reverse
    printf '%s %-8s %-16s %s s\n' "$id" "$text" "$ipa" "$(soxi -D "$out/$id.wav")"
done <<'CLIPS'
102|한 시|hˈɐn sˈi
103|두 시|dˈu sˈi
104|세 시|sˈe sˈi
105|네 시|nˈesˈi
106|다섯 시|dɐsˈʌt- sˈi
107|여섯 시|jʌsˈʌt- sˈi
108|일곱 시|ˈiɫqop sˈi
109|여덜 시|jʌdˈʌɫ sˈi
110|아홉 시|ɐhˈop sˈi
111|십 분|sˈip pˈun
112|열 시|jˈʌɫ sˈi
113|여란 시|jʌɾˈɐn sˈi
114|열두 시|jˈʌɫdu sˈi
115|이십 분|isˈip pˈun
116|삼십 분|sˈɐmsip pˈun
117|사십 분|sɐsˈip pˈun
118|오십 분|osˈip pˈun
119|오전|odʑˈʌn
120|오후|ˈohu
121|정각|tɕˈʌŋqɐq
122|일 분|ˈiɫ pˈun
123|이 분|ˈi pˈun
124|삼 분|sˈɐm pˈun
125|사 분|sˈɐ pˈun
126|오 분|ˈo pˈun
127|육 분|jˈuq pˈun
128|칠 분|tʃhˈiɫ pˈun
129|팔 분|phˈɐɫ pˈun
130|구 분|ɡˈu pˈun
131|십|sˈip
132|이십|isˈip
133|삼십|sˈɐmsip
134|사십|sɐsˈip
135|오십|osˈip
CLIPS
