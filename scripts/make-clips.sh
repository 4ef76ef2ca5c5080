#!/bin/sh
# Makes the thirty-six Korean voice clips in resources/clips/ with espeak-ng and sox.
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

# Samples quieter than this count as silence. Each clip is first brought to a peak of -2 dBFS so
# that the threshold sits at the same depth below every voice; espeak-ng pads with true silence,
# so the cut lands right where the voice starts and ends. The rising end of a clip said with a
# comma stays loud until the voice stops: the cut takes no more than the last 5 ms of its decay.
threshold=-45d

# Every clip is played at this loudness, the RMS of the whole trimmed clip, so that the words of
# an announcement are equally loud. The peakiest clips have peaks 18.3 dB above their RMS; a clip
# whose peak would come out above -1 dBFS (headroom for resampling on playback) stops the script.
loudness=-20
ceiling=-1

stat() { sox "$1" -n stats 2>&1 | awk -v key="$2" 'index($0, key) == 1 { print $NF }'; }

# Clip number, what it says and the phonemes espeak-ng must make of it (--ipa). The text is in
# its pronounced spelling where espeak-ng would read the written one letter by letter: 여덟 시
# comes out [여덥 시] (jʌdˈʌp), so 109 says 여덜 시; in 열한 시 the ㅎ drops in natural speech, so
# 113 says 여란 시. A clip whose phonemes differ stops the script, to be listened to and checked.
#
# A clip that is never the last of an announcement (the half of day, the hours, the tens, and
# 알람 before the time) ends in a comma: espeak-ng then says it with the rising or level pitch of
# an unfinished phrase instead of the falling end of a sentence, so that an announcement sounds like one phrase. The comma
# changes only the pitch; --ipa prints the same phonemes with it as without, so the check still
# holds each clip's words. The last clip of the timer's sentence ends in "!": said with a full stop
# its peaks stand out above the ceiling below, and the exclamation ends with the same falling
# pitch. The numbers are the resource names the announcer plays.
while IFS='|' read -r id text ipa; do
    [ -n "$id" ] || continue
    said=$(espeak-ng -v ko -q --ipa "$text" | sed 's/^ *//; s/ *$//')
    [ "$said" = "$ipa" ] || { echo "clip $id: espeak-ng says [$said], not [$ipa]" >&2; exit 1; }
    espeak-ng -v ko -w "$tmp/raw.wav" "$text"
    # -D: no dither, so the same espeak-ng output always gives the same bytes. The trimmed clip
    # is kept in floating point until its gain is known, then quantised once.
    sox -D "$tmp/raw.wav" -c 1 -e floating-point -b 32 "$tmp/trimmed.wav" \
        gain -n -2 rate 16000 \
        silence 1 0.005 "$threshold" reverse silence 1 0.005 "$threshold" reverse
    gain=$(stat "$tmp/trimmed.wav" "RMS lev dB" | awk -v want="$loudness" '{ printf "%.2f", want - $1 }')
    sox -D "$tmp/trimmed.wav" -e signed-integer -b 16 "$out/$id.wav" gain "$gain"
    rms=$(stat "$out/$id.wav" "RMS lev dB")
    peak=$(stat "$out/$id.wav" "Pk lev dB")
    awk -v peak="$peak" -v ceiling="$ceiling" 'BEGIN { exit !(peak > ceiling) }' &&
        { echo "clip $id: peak $peak dBFS at RMS $rms dBFS, above $ceiling dBFS" >&2; exit 1; }
    printf '%s %-9s %-16s %s s  RMS %s  peak %s dBFS\n' "$id" "$text" "$ipa" "$(soxi -D "$out/$id.wav")" "$rms" "$peak"
done <<'CLIPS'
102|한 시,|hˈɐn sˈi
103|두 시,|dˈu sˈi
104|세 시,|sˈe sˈi
105|네 시,|nˈesˈi
106|다섯 시,|dɐsˈʌt- sˈi
107|여섯 시,|jʌsˈʌt- sˈi
108|일곱 시,|ˈiɫqop sˈi
109|여덜 시,|jʌdˈʌɫ sˈi
110|아홉 시,|ɐhˈop sˈi
111|십 분|sˈip pˈun
112|열 시,|jˈʌɫ sˈi
113|여란 시,|jʌɾˈɐn sˈi
114|열두 시,|jˈʌɫdu sˈi
115|이십 분|isˈip pˈun
116|삼십 분|sˈɐmsip pˈun
117|사십 분|sɐsˈip pˈun
118|오십 분|osˈip pˈun
119|오전,|odʑˈʌn
120|오후,|ˈohu
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
131|십,|sˈip
132|이십,|isˈip
133|삼십,|sˈɐmsip
134|사십,|sɐsˈip
135|오십,|osˈip
136|타이머가 끝났습니다!|thɐˈimʌqˌɐ q-ˈɯnnɐt-s-ˌɯpnidˌɐ
137|알람,|ɐlˈɐm
CLIPS
