#!/usr/bin/env bash
# Starts or stops the Wine environment of one build: a private prefix, one Xvfb display and a persistent
# wineserver (Windows programs then start in a fraction of a second).
#
#   wine-env.sh start WINE_DIR     prefix created once; Xvfb and wineserver started; display noted in WINE_DIR
#   wine-env.sh stop WINE_DIR      ends this environment's wineserver (and its programs) and its Xvfb
#
# Everything started here runs detached with its output in WINE_DIR/*.log, so that a caller reading our
# output through a pipe (ctest) is never held open by a background process. Processes are ended by the ids
# recorded here, never by name.
set -euo pipefail
action=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-vars.sh
. "$here/wine-vars.sh" "$2"
W=$KVMULTI_WINE_DIR

stop_xvfb() {
    if [ -f "$W/xvfb.pid" ]; then
        kill "$(cat "$W/xvfb.pid")" 2>/dev/null || true
        rm -f "$W/xvfb.pid"
    fi
    rm -f "$W/display"
}

start_xvfb() {
    if [ -f "$W/xvfb.pid" ] && kill -0 "$(cat "$W/xvfb.pid")" 2>/dev/null; then return 0; fi
    local n
    for n in $(seq 77 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        setsid Xvfb ":$n" -screen 0 1600x900x24 -nolisten tcp </dev/null >"$W/xvfb.log" 2>&1 &
        echo $! >"$W/xvfb.pid"
        for _ in $(seq 100); do
            if [ -e "/tmp/.X11-unix/X$n" ]; then
                echo ":$n" >"$W/display"
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$(cat "$W/xvfb.pid")" 2>/dev/null || break
            sleep 0.1
        done
        stop_xvfb
    done
    echo "wine-env: could not start Xvfb" >&2
    return 1
}

# Chinese windows ask for "Microsoft YaHei", which a fresh prefix lacks: Wine would draw every Chinese glyph
# as a box. The prefix maps that face to WenQuanYi Micro Hei (Debian's fonts-wqy-microhei, which Wine finds
# through fontconfig), so the program asks for the same face as on Windows. Written once per prefix.
CHINESE_FACE="WenQuanYi Micro Hei"
map_chinese_face() {
    grep -qF '"Microsoft YaHei"="'"$CHINESE_FACE"'"' "$WINEPREFIX/user.reg" 2>/dev/null && return 0
    setsid "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Microsoft YaHei" /t REG_SZ \
        /d "$CHINESE_FACE" /f </dev/null >>"$W/wineboot.log" 2>&1
}

case "$action" in
start)
    start_xvfb
    setsid "$WINESERVER" -p </dev/null >"$W/wineserver.log" 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        setsid "$WINE" wineboot -i </dev/null >"$W/wineboot.log" 2>&1
    fi
    map_chinese_face
    # Start Wine's own services now, quietly, rather than inside the first test's pipes.
    setsid "$WINE" cmd /c exit </dev/null >>"$W/wineboot.log" 2>&1 || true
    echo "wine environment ready: prefix $WINEPREFIX, display $DISPLAY"
    ;;
stop)
    "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    stop_xvfb
    echo "wine environment stopped"
    ;;
*)
    echo "usage: wine-env.sh start|stop WINE_DIR" >&2
    exit 2
    ;;
esac
