#!/usr/bin/env bash
# Builds the optimised native build and runs every benchmark; each prints its own table of figures.
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
