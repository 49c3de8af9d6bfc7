#!/usr/bin/env bash
# Builds both builds and runs every test: the native build (portable core, under sanitizers) and the Windows
# build (under Wine with a private prefix and an Xvfb display). Installs what it needs first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

KVMULTI_DEPS=$(bash scripts/setup.sh </dev/null | tail -n 1)
export KVMULTI_DEPS
jobs=$(nproc)

echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native

echo "== Windows build and tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
ctest --preset windows
