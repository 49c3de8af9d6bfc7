#!/usr/bin/env bash
# Runs kvmctl.exe, the scripting console, on the demo installation under Wine (building what it needs and
# creating the demo first, as run.sh does). Its reply goes to standard output, progress to standard error,
# and its exit code is the console's own.
#
#   ctl.sh COMMAND [ARGUMENTS...]      for example: ctl.sh list --text
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)

KVMULTI_DEPS=$(bash scripts/setup.sh </dev/null | tail -n 1)
export KVMULTI_DEPS
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target kvmctl kv_program_files kv_resource_pack \
    rqplayer14 rqplayer9 rqplayer5 >/dev/null

build=$root/build/windows
program=$(bash scripts/make-demo.sh "$build" "$build/demo")
wine_dir=$build/wine-run
# A manager started by run.sh may be using this environment: it is left running then.
if [ ! -f "$wine_dir/xvfb.pid" ] || ! kill -0 "$(cat "$wine_dir/xvfb.pid")" 2>/dev/null; then
    bash scripts/wine-env.sh start "$wine_dir" >/dev/null
    trap 'bash scripts/wine-env.sh stop "$wine_dir" >/dev/null' EXIT
fi
set +e
bash scripts/wine-run.sh "$(dirname "$program")/kvmctl.exe" "$@" </dev/null
status=$?
exit $status
