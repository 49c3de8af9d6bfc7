#!/usr/bin/env bash
# Builds the Windows program, creates the demo installation (build/windows/demo, once: two product lines
# with stand-in emulators and a few instances; line 7.1 (32-bit) is left to be downloaded) and starts the
# manager on it under Wine, with a local download server (kvdemoserver.exe, ended by its process id when the
# manager exits) that hands out the stand-in installer of line 7.1.
# On the user's display when there is one; otherwise on a private Xvfb display, then a screenshot of it is
# saved to build/windows/screenshot.png and the manager is closed again.
#
#   run.sh [--lang CODE]    CODE (for example zh_CN or en_US) becomes the demo's "languageId" setting and
#                           stays until another --lang; the screenshot is then screenshot-CODE.png
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)

language=
while [ $# -gt 0 ]; do
    case "$1" in
    --lang)
        [ $# -ge 2 ] || { echo "run.sh: --lang needs a language code such as zh_CN" >&2; exit 2; }
        language=$2
        shift 2
        ;;
    --lang=*)
        language=${1#--lang=}
        shift
        ;;
    *)
        echo "usage: run.sh [--lang CODE]" >&2
        exit 2
        ;;
    esac
done
if [ -n "$language" ] && ! [[ "$language" =~ ^[a-z][a-z]_[A-Z][A-Z]$ ]]; then
    echo "run.sh: a language code is two lower-case letters, '_' and two upper-case letters (zh_CN)" >&2
    exit 2
fi

KVMULTI_DEPS=$(bash scripts/setup.sh </dev/null | tail -n 1)
export KVMULTI_DEPS
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target kvmulti kv_program_files kv_resource_pack \
    rqplayer14 rqplayer9 rqplayer5 kvsetup5 kvdemoserver

build=$root/build/windows
program=$(bash scripts/make-demo.sh "$build" "$build/demo" "$language")
echo "demo installation: $build/demo"
wine_dir=$build/wine-run
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

server_pid=
finish() {
    if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
    bash scripts/wine-env.sh stop "$wine_dir" >/dev/null
}
# The download server writes "servers.ini" beside the manager, naming itself, once it listens.
start_download_server() {
    # shellcheck source=wine-vars.sh
    . scripts/wine-vars.sh "$wine_dir"
    "$WINE" "$build/standin/kvdemoserver.exe" "$(windows_path "$build/demo/program")" \
        "$(windows_path "$build/standin/5/kvsetup.exe")" </dev/null >"$wine_dir/kvdemoserver.out" 2>&1 &
    server_pid=$!
    for _ in $(seq 100); do
        if [ -f "$build/demo/program/servers.ini" ]; then break; fi
        sleep 0.2
    done
    echo "download server: $(cat "$wine_dir/kvdemoserver.out" 2>/dev/null) (line 7.1 (32-bit) can be added and downloaded)"
}

if [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null && xdpyinfo >/dev/null 2>&1; then
    echo "starting kvmulti on display $DISPLAY"
    export KVMULTI_USER_DISPLAY=1
    bash scripts/wine-env.sh start "$wine_dir" >/dev/null
    trap finish EXIT
    start_download_server
    bash scripts/wine-run.sh "$program" || true   # the manager's exit code is always 1
    exit 0
fi

echo "no display found: starting kvmulti on a private Xvfb display"
bash scripts/wine-env.sh start "$wine_dir"
trap finish EXIT
start_download_server
"$WINE" "$program" </dev/null >"$wine_dir/kvmulti.out" 2>&1 &
for _ in $(seq 100); do
    # Wine names a program's X windows after its executable: ("kvmulti.exe" "Wine").
    if xwininfo -root -tree 2>/dev/null | grep -q '("kvmulti.exe"'; then break; fi
    sleep 0.2
done
sleep 1 # let the first paint land before the picture is taken
screenshot=$build/screenshot${language:+-$language}.png
import -window root "$screenshot"
echo "screenshot of the manager: $screenshot"
echo "program log: $build/demo/program/log/multis.log"
