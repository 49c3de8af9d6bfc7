#!/usr/bin/env bash
# Runs a Windows program under Wine with the build's private prefix, HOME and display.
# CMake uses it as the cross-compiling emulator, so `ctest` and tools run Windows executables through it.
#
# The Wine folder is KVMULTI_WINE_DIR, or "wine" in the build folder found above the program.
# The display is the one scripts/wine-env.sh started for that folder; KVMULTI_USER_DISPLAY=1 keeps $DISPLAY.
set -euo pipefail

if [ -z "${KVMULTI_WINE_DIR:-}" ]; then
    dir=$(cd "$(dirname "$1")" && pwd)
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    [ -f "$dir/CMakeCache.txt" ] || { echo "wine-run: no build folder above $1; set KVMULTI_WINE_DIR" >&2; exit 2; }
    KVMULTI_WINE_DIR="$dir/wine"
fi
# shellcheck source=wine-vars.sh
. "$(dirname "${BASH_SOURCE[0]}")/wine-vars.sh" "$KVMULTI_WINE_DIR"
exec "$WINE" "$@"
