#!/usr/bin/env bash
# Builds the Windows program and starts the manager under Wine.
# On the user's display when there is one; otherwise on a private Xvfb display, then a screenshot of it is
# saved to build/windows/screenshot.png and the manager is closed again.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)

KVMULTI_DEPS=$(bash scripts/setup.sh </dev/null | tail -n 1)
export KVMULTI_DEPS
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target kvmulti

build=$root/build/windows
program=$build/program/kvmulti.exe
wine_dir=$build/wine-run

if [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null && xdpyinfo >/dev/null 2>&1; then
    echo "starting kvmulti on display $DISPLAY"
    export KVMULTI_USER_DISPLAY=1
    bash scripts/wine-env.sh start "$wine_dir" >/dev/null
    trap 'bash scripts/wine-env.sh stop "$wine_dir" >/dev/null' EXIT
    bash scripts/wine-run.sh "$program" || true   # the manager's exit code is always 1
    exit 0
fi

echo "no display found: starting kvmulti on a private Xvfb display"
bash scripts/wine-env.sh start "$wine_dir"
trap 'bash scripts/wine-env.sh stop "$wine_dir" >/dev/null' EXIT
# shellcheck source=wine-vars.sh
. scripts/wine-vars.sh "$wine_dir"
"$WINE" "$program" </dev/null >"$wine_dir/kvmulti.out" 2>&1 &
for _ in $(seq 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"kvmulti"'; then break; fi
    sleep 0.2
done
sleep 1 # let the first paint land before the picture is taken
import -window root "$build/screenshot.png"
echo "screenshot of the manager: $build/screenshot.png"
echo "program log: $build/program/log/multis.log"
