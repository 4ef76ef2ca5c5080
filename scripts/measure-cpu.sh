#!/usr/bin/env bash
# Measures what a running tray clock costs the whole desktop: the CPU share of the clock, the
# tray (explorer), wineserver and the X server, from /proc, against an idle baseline taken in
# the same run, on a private Wine desktop. The clock column counts the process of the EXE being
# measured; the test build's WakeFloor.exe (one wake at each second's start, no work) and
# SendFloor.exe (the same, sending a ready-made icon 44 times a minute) run beside the clock show
# how much of its share is only the cost of waking once a second and of telling the shell. A last
# column counts how often a second the clock's process went to sleep, which follows its wakes.
#
#   scripts/measure-cpu.sh [-s SECONDS] [-r ROUNDS] EXE [EXE ...]
#
# Each EXE runs alone for SECONDS (default 60) after a short settling time; the idle baseline
# is the same desktop with no clock running. Shares are percent of one core. A share of a few
# tenths of a percent moves by a third from one window to the next on a virtual machine, so
# with ROUNDS > 1 the idle window and the EXEs take turns that many times and the median of
# each column follows the rounds.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
rounds=1
while getopts s:r: option; do
    case $option in
    s) seconds=$OPTARG ;;
    r) rounds=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "usage: $0 [-s SECONDS] [-r ROUNDS] EXE [EXE ...]" >&2; exit 2; }
exes=() labels=()
for exe in "$@"; do
    exes+=("$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")")
    labels+=("$(basename "$(dirname "$exe")")/$(basename "$exe")")
done
# two builds of one name (another checkout's build/win64/Tockwen.exe) get their place in the list
# before their name, or the medians would pool them
if [ "$(printf '%s\n' "${labels[@]}" | sort | uniq -d)" ]; then
    for i in "${!labels[@]}"; do labels[i]="$((i + 1)): ${labels[i]}"; done
fi

env=tests/support/wine-env.sh
world=build/measure
mkdir -p $world
trap '$env down $world >/dev/null 2>&1 || true' EXIT
$env up $world >/dev/null
. $world/wine-state/env
xvfb=$(cat $world/wine-state/xvfb.pid)
hz=$(getconf CLK_TCK)

# utime + stime of every process of this Wine world whose command name is $1 (clock ticks);
# other Wine worlds on the machine (a test run, say) are told apart by their prefix
ticks_of() {
    local total=0 pid stat rest
    for pid in $(pgrep -x "$1" 2>/dev/null || true); do
        # (a process can end between pgrep and here)
        { tr '\0' '\n' </proc/$pid/environ; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
        stat=$(cat /proc/$pid/stat 2>/dev/null) || continue
        rest=${stat##*) }
        # fields after the command: state is 3, utime 14, stime 15
        set -- $rest
        total=$((total + ${12} + ${13}))
    done
    echo $total
}
ticks_xvfb() {
    local stat rest
    stat=$(cat /proc/$xvfb/stat 2>/dev/null) || { echo 0; return; }
    rest=${stat##*) }
    set -- $rest
    echo $((${12} + ${13}))
}
server=wineserver
pgrep -x wineserver64 >/dev/null && server=wineserver64
clock_name=none # the process name of the EXE running now
# how often the clock's threads went to sleep of their own accord: once per wake, and once more for
# each call that waits on another process (the shell's answer to an icon, say); a count, which the
# load of the machine does not change
switches_of() {
    local total=0 pid task
    for pid in $(pgrep -x "$1" 2>/dev/null || true); do
        { tr '\0' '\n' </proc/$pid/environ; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
        for task in /proc/$pid/task/*; do
            total=$((total + $(awk '/^voluntary_ctxt_switches/ { print $2 }' $task/status 2>/dev/null || echo 0)))
        done
    done
    echo $total
}
sample() { echo "$(ticks_of "$clock_name") $(ticks_of explorer.exe) $(ticks_of $server) $(ticks_xvfb) $(switches_of "$clock_name")"; }

# one window of $seconds: prints the four shares, their sum and the clock's sleeps a second
measure() {
    local a b t0 t1
    a=($(sample))
    t0=$(date +%s.%N)
    sleep "$seconds"
    b=($(sample))
    t1=$(date +%s.%N)
    awk -v hz="$hz" -v t="$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')" -v label="$1" \
        -v a="${a[*]}" -v b="${b[*]}" 'BEGIN {
            split(a, x); split(b, y); sum = 0
            printf "%-28s", label
            for (i = 1; i <= 4; i++) { s = (y[i] - x[i]) / hz / t * 100; sum += s; printf " %9.2f", s }
            printf " %9.2f %9.1f\n", sum, (y[5] - x[5]) / t }'
}

printf "%-28s %9s %9s %9s %9s %9s %9s   (%% of one core over %d s; the clock's sleeps a second)\n" "" clock \
    explorer wineserver Xvfb sum sleeps/s "$seconds"
rows=$world/measure-cpu.rows
: >$rows
sleep 10 # the desktop's own start-up is not idle
for round in $(seq "$rounds"); do
    measure "idle (no clock)" | tee -a $rows
    for i in "${!exes[@]}"; do
        exe=${exes[i]}
        clock_name=$(basename "$exe")
        wine "$exe" </dev/null >/dev/null 2>&1 &
        clock=$!
        sleep 5 # start-up and the first frames are not the steady state
        measure "${labels[i]}" | tee -a $rows
        # closed as a user would, so that its icon leaves the tray before the next one comes
        wine taskkill /im "$clock_name" >/dev/null 2>&1 || true
        for _ in $(seq 50); do kill -0 $clock 2>/dev/null || break; sleep 0.1; done
        kill $clock 2>/dev/null || true
        wait $clock 2>/dev/null || true
        clock_name=none
        sleep 2
    done
done
[ "$rounds" -gt 1 ] || exit 0
echo "median of $rounds rounds:"
# rows keep their order of first appearance; each column's median is taken on its own
awk '{
        label = substr($0, 1, 28); sub(/ +$/, "", label)
        if (!(label in count)) order[++labels] = label
        n = ++count[label]
        for (i = 1; i <= 6; i++) value[label, i, n] = $(NF - 6 + i)
    }
    END {
        for (l = 1; l <= labels; l++) {
            label = order[l]; n = count[label]
            printf "%-28s", label
            for (i = 1; i <= 6; i++) {
                for (j = 1; j <= n; j++) v[j] = value[label, i, j]
                for (j = 2; j <= n; j++) for (k = j; k > 1 && v[k - 1] > v[k]; k--) { t = v[k]; v[k] = v[k - 1]; v[k - 1] = t }
                printf " %9.2f", n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
            }
            printf "\n"
        }
    }' $rows
