#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the portable core and the native platform layer,
# using the native build's compile commands (the Windows-only files are checked by the cross compiler's
# warnings).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
KVMULTI_DEPS=$(bash scripts/setup.sh </dev/null | tail -n 1)
export KVMULTI_DEPS
cmake --preset native >/dev/null
mapfile -t files < <(git ls-files 'src/core/*.cpp' 'src/platform/posix/*.cpp')
clang-tidy -p build/native --quiet "${files[@]}"
