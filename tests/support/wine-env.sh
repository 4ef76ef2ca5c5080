#!/usr/bin/env bash
# A private Wine world for the Windows tests: a throwaway prefix inside the build tree, its own
# virtual X display, one shared 1280x1024 Wine desktop whose taskbar shows the tray, and a
# PulseAudio null sink so that sound really plays (and can be recorded) with no hardware.
#
#   wine-env.sh up   WORLD           start everything (idempotent)
#   wine-env.sh run  WORLD prog ...  run a Windows program inside it
#   wine-env.sh down WORLD           stop everything
#   wine-env.sh env  WORLD           print the environment (to source from a shell)
#   wine-env.sh template BUILD       only boot the build directory's prefix, ahead of its worlds
#
# WORLD is a build directory or a folder inside one: several worlds of one build (another DPI,
# a test that runs beside the others) each have their own prefix, server, display and sound.
# Their prefixes are copies of one booted template per build directory, so only the first world
# pays for booting Wine.
#
# TOCKWEN_WINE_DPI=120|144|192 at `up` gives the world that system DPI (LogPixels) instead of 96;
# it holds for the prefix until an `up` with another value (or none, which means 96).
#
# Real time: Wine 8 feeds PulseAudio from a thread of the playing program, through wineserver
# round trips, and keeps only about 25 ms queued at the server. Whenever that thread or the
# wineserver waits longer for a CPU, the sink plays silence in the middle of a clip (5-65 ms
# gaps, seen on an idle machine as well as a loaded one). Windows runs its audio engine at
# real-time priority; here the world's servers and programs run with real-time round-robin
# scheduling where the system allows it, so that nothing outside the world can starve them.
set -euo pipefail

cmd=${1:?up, run, down or env}
# No Mono or Gecko prompts, and no winemenubuilder. Wine's boot runs `winemenubuilder -a -r` at the
# start of every server session (wine.inf's RunServices); in the first session of a new prefix it
# has the file associations to write and opens the default desktop, "shell" here, so Wine starts
# its own desktop explorer for it before ours can, and ours finds the desktop taken and exits. It
# would also write menu entries and MIME types into the user's home.
overrides='mscoree,mshtml=;winemenubuilder.exe=d'
# the screen and its one desktop: tall enough for the settings dialog at 200 % scaling
screen=1280x1024

build=$(cd "${2:?world directory}" && pwd)
shift 2
state=$build/wine-state
envfile=$state/env

# the build directory whose template the world copies: the world itself or the folder above it
home=$build
[ -f "$build/CMakeCache.txt" ] || [ ! -f "$build/../CMakeCache.txt" ] || home=$(cd "$build/.." && pwd)
template=$home/wine-template

base_env() {
    export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES=$overrides LANG=C.UTF-8
    # A 64-bit build needs a 64-bit prefix; so does a machine whose kernel runs no 32-bit
    # programs, where only the 64-bit loader starts. Debian's `wine` picks the 32-bit loader
    # whenever it is installed, so a `wine` of our own leads every caller (this script, and
    # tests that start Unix programs which start Wine again) to the 64-bit one.
    if grep -qs 'x86_64-w64-mingw32' "$home/CMakeCache.txt" || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
        mkdir -p "$state/bin"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$state/bin/wine"
        chmod +x "$state/bin/wine"
        export PATH=$state/bin:$PATH
    fi
}

# Real-time round-robin for the world's servers and programs (the servers above the programs
# they serve), or normal scheduling where the system refuses it (no CAP_SYS_NICE).
if chrt -r 1 true 2>/dev/null; then
    server_sched=(chrt -r 20) program_sched=(chrt -r 10)
else
    server_sched=() program_sched=()
fi

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

# Whether this prefix's desktop is served by the explorer started below ("/desktop=shell,...").
# The one that Wine starts on demand ("explorer.exe /desktop") lives only as long as its
# clients, so each test would meet a fresh tray.
desktop_running() {
    local p
    for p in $(pgrep -f 'explorer(\.exe)? /desktop=shell' || true); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
    done
    return 1
}

# The prefix's system DPI. Wine's processes read it as they start, so it is set before the
# world's server starts for good.
set_dpi() {
    local marker=$WINEPREFIX/.tockwen-dpi now
    now=$(cat "$marker" 2>/dev/null ||
        wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels </dev/null 2>/dev/null | tr -d '\r' |
        awk '$1 == "LogPixels" { print $3 }' || true)
    [ $((${now:-96})) -eq "$1" ] && return 0 # no value: Wine's default, 96
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >>"$state/wine.log" 2>&1
    echo "$1" >"$marker"
}

# Boots a fresh prefix once for the build directory, with what every world needs, and leaves
# it on disk with its server stopped. Worlds that come up together wait for the first.
make_template() {
    mkdir -p "$home"
    exec 9>"$home/wine-template.lock"
    flock 9
    if [ ! -f "$template/system.reg" ]; then
        echo "wine-env: booting a new Wine prefix, once for $home (10 to 20 s)"
        rm -rf "$template"
        mkdir -p "$template"
        (
            export WINEPREFIX=$template
            wine wineboot -i </dev/null >"$state/wineboot.log" 2>&1 || true
            # one shared desktop for every process, so the tray icon is in its taskbar
            wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f </dev/null >>"$state/wine.log" 2>&1
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d $screen /f </dev/null >>"$state/wine.log" 2>&1
            # a program that crashes ends at once rather than waiting behind Wine's crash dialog
            wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >>"$state/wine.log" 2>&1
            # Korean text: link the dialog fonts to NanumGothic (fonts-nanum), as Windows links its
            # UI fonts to a Korean face; without it every Hangul syllable is drawn as a box
            local face
            for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
                wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
                    /v "$face" /t REG_MULTI_SZ /d 'NanumGothic.ttf,NanumGothic' /f </dev/null >>"$state/wine.log" 2>&1
            done
            # Wine draws the caption buttons' glyphs (the close box's x) with Marlett from
            # fonts-wine; Debian's 64-bit Wine 8 looks for its own fonts in a folder that does not
            # exist, so the prefix's font folder gets a link to it
            ln -sf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
            # the registry reaches its files when the server ends
            wineserver -w
        )
        [ -f "$template/system.reg" ] || { echo "wine-env: booting a Wine prefix in $template failed" >&2; exit 1; }
    fi
    flock -u 9
}

up() {
    mkdir -p "$state"
    base_env
    # a leftover environment of an interrupted run is torn down first
    [ -f "$envfile" ] && down >/dev/null

    # a display nobody else uses; two worlds coming up together must not pick the same one
    local n
    exec 8>/tmp/.tockwen-display.lock
    flock 8
    for n in $(seq 91 160); do
        [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] || break
    done
    "${program_sched[@]}" Xvfb :$n -screen 0 ${screen}x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    export DISPLAY=:$n
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    flock -u 8

    # sound: a null sink that plays in real time, as a private server of our own
    local pulse=""
    if command -v pulseaudio >/dev/null 2>&1; then
        export XDG_RUNTIME_DIR=$state/xdg
        mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
        export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
        pulseaudio -D --exit-idle-time=-1 --disable-shm=true -n --system=false --use-pid-file=yes --log-target=file:"$state/pulse.log" \
            -L "module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse/native" \
            -L "module-null-sink sink_name=testsink rate=16000 channels=1 format=s16le norewinds=1" \
            -L "module-always-sink" </dev/null >>"$state/pulse.log" 2>&1 || true
        for _ in $(seq 50); do
            [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break
            sleep 0.1
        done
        [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && pulse=yes
        # pulseaudio sets its own priorities (the sink's thread at real-time 5): the server goes
        # above the programs, its sink's thread above all
        local task
        if [ -n "$pulse" ] && [ ${#server_sched[@]} -gt 0 ]; then
            for task in /proc/"$(cat "$XDG_RUNTIME_DIR/pulse/pid")"/task/*; do
                if [ "$(cat "$task/comm")" = null-sink ]; then
                    chrt -r -p 30 "${task##*/}" >/dev/null
                else
                    chrt -r -p 20 "${task##*/}" >/dev/null
                fi
            done
        fi
        pactl set-default-sink testsink </dev/null >/dev/null 2>&1 || true
    fi

    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        make_template
        rm -rf "$WINEPREFIX"
        cp -a "$template" "$WINEPREFIX"
        echo 96 >"$WINEPREFIX/.tockwen-dpi"
    fi
    set_dpi "${TOCKWEN_WINE_DPI:-96}"
    # One world's Wine boots at a time: with five booting at once on two processors, a Wine
    # process of the boot was seen to crash (a page fault, with RpcSs failing to start) and take
    # the desktop's explorer with it.
    exec 7>/tmp/.tockwen-boot.lock
    flock 7
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    # a persistent server: otherwise every test waits on pipes held by Wine's helpers. Its start
    # is noted: it writes the registry's files every 30 s from then, pausing the world meanwhile,
    # and the sound tests record between those writes.
    "${server_sched[@]}" wineserver -p </dev/null >>"$state/wine.log" 2>&1
    local serverStarted
    serverStarted=$(date +%s.%N)
    # The desktop's explorer, detached, the first program of the new server: it starts the
    # prefix's boot and services, then makes the shared desktop. Nothing else here opens a
    # desktop, so it is the one that makes it (see the overrides above); its errors are kept.
    setsid "${program_sched[@]}" env WINEDEBUG=err+all wine explorer /desktop=shell,$screen \
        </dev/null >"$state/explorer.log" 2>&1 &
    echo $! >"$state/explorer.pid"
    # returns once the boot is done, and leaves nothing behind that later tests would wait on
    wine cmd /c exit </dev/null >>"$state/wine.log" 2>&1 || true
    for _ in $(seq 100); do
        desktop_running && break
        sleep 0.1
    done
    # still there a moment later: it has its desktop
    sleep 0.3
    flock -u 7
    desktop_running || {
        echo "wine-env: the desktop's explorer.exe /desktop=shell is not running in $WINEPREFIX" >&2
        ps -eo pid,ppid,etimes,args | grep -E 'wine|\.exe' | grep -v grep >"$state/processes-at-failure.txt" || true
        echo "wine-env: its errors are in $state/explorer.log, the processes then in $state/processes-at-failure.txt" >&2
        exit 1
    }

    {
        echo "export WINEPREFIX='$WINEPREFIX' WINEARCH=$WINEARCH WINEDEBUG=-all"
        [ "$WINEARCH" = win64 ] && echo "export WINELOADER='$WINELOADER' PATH='$PATH'"
        echo "export WINEDLLOVERRIDES='$overrides' LANG=C.UTF-8 DISPLAY='$DISPLAY'"
        echo "export TOCKWEN_WINE_DPI=${TOCKWEN_WINE_DPI:-96} TOCKWEN_WINESERVER_STARTED=$serverStarted"
        if [ -n "$pulse" ]; then
            echo "export XDG_RUNTIME_DIR='$XDG_RUNTIME_DIR' PULSE_SERVER='$PULSE_SERVER'"
            echo "export TOCKWEN_TEST_SOUND=1"
        fi
    } >"$envfile"
    [ ${#server_sched[@]} -gt 0 ] || echo "wine-env: no real-time scheduling here: Wine's sound may have gaps" >&2
    echo "wine environment up: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX sound=${pulse:-no}"
}

down() {
    base_env
    [ -f "$envfile" ] && . "$envfile"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [ -f "$state/xdg/pulse/pid" ]; then
        kill "$(cat "$state/xdg/pulse/pid")" 2>/dev/null || true
        rm -f "$state/xdg/pulse/pid"
    fi
    for p in xvfb explorer; do
        alive "$state/$p.pid" && kill "$(cat "$state/$p.pid")" 2>/dev/null || true
        rm -f "$state/$p.pid"
    done
    rm -f "$envfile"
    echo "wine environment down"
}

case $cmd in
up) up ;;
template) mkdir -p "$state" && base_env && make_template ;;
down) down ;;
env) cat "$envfile" ;;
run)
    [ -f "$envfile" ] || { echo "wine environment is not up: run '$0 up $build' first" >&2; exit 2; }
    . "$envfile"
    desktop_running || {
        echo "wine-env: the desktop's explorer.exe /desktop=shell is not running: the tests would meet a" \
            "short-lived tray each; run '$0 down $build' and '$0 up $build'" >&2
        exit 2
    }
    exec "${program_sched[@]}" wine "$@"
    ;;
*) echo "unknown command $cmd" >&2; exit 2 ;;
esac
