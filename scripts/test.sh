#!/usr/bin/env bash
# Builds both builds and runs every test: the native build (portable core, under sanitizers), the fuzz targets
# (a bounded time each, KVMULTI_FUZZ_SECONDS, default 20) and the Windows build (under Wine with a private
# prefix and an Xvfb display). Installs what it needs first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

KVMULTI_DEPS=$(bash scripts/setup.sh </dev/null | tail -n 1)
export KVMULTI_DEPS
jobs=$(nproc)

echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native

# Each libFuzzer target runs for a bounded time on its corpus in the build folder; a crash, leak or
# sanitizer report fails the run and prints the end of the fuzzer's output.
fuzz_seconds=${KVMULTI_FUZZ_SECONDS:-20}
echo "== fuzz targets, ${fuzz_seconds} s each"
cmake --preset native-fuzz >/dev/null
cmake --build --preset native-fuzz -j "$jobs"
while read -r fuzzer corpus; do
    log="build/native-fuzz/fuzz/$fuzzer.log"
    if ! "build/native-fuzz/fuzz/$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 \
        -artifact_prefix="build/native-fuzz/fuzz/$fuzzer-" "$corpus" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$fuzzer failed (its output: $log)"
        exit 1
    fi
    echo "$fuzzer: $(grep -E '^Done' "$log")"
done <build/native-fuzz/fuzz/fuzzers.txt

echo "== Windows build and tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
ctest --preset windows
