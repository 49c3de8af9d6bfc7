#!/usr/bin/env bash
# Builds the optimised native build and runs every benchmark; each prints its own table of figures.
# Then the IPC, status-refresh and accessibility benchmarks, Windows programs, run under Wine against the
# stand-in emulator.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
KVMULTI_DEPS=$(bash scripts/setup.sh </dev/null | tail -n 1)
export KVMULTI_DEPS
cmake --preset native-release >/dev/null
cmake --build --preset native-release -j "$(nproc)"
for bench in build/native-release/bench/bench_*; do
    echo "== $(basename "$bench")"
    "$bench"
done

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target bench_ipc bench_refresh_win bench_accessibility_win bench_ctl_win
wine_dir="$PWD/build/windows/wine"
bash scripts/wine-env.sh start "$wine_dir" >/dev/null
trap 'bash scripts/wine-env.sh stop "$wine_dir" >/dev/null' EXIT
for bench in bench_ipc bench_refresh_win bench_accessibility_win; do
    echo "== $bench (Windows, under Wine)"
    KVMULTI_WINE_DIR="$wine_dir" bash scripts/wine-run.sh "build/windows/bench/windows/$bench.exe" "$PWD/build/windows/standin"
done
echo "== bench_ctl_win (Windows, under Wine)"
KVMULTI_WINE_DIR="$wine_dir" bash scripts/wine-run.sh build/windows/bench/windows/bench_ctl_win.exe \
    "$PWD/build/windows/program/kvmctl.exe" "$PWD/build/windows/standin"
