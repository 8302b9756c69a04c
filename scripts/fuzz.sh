#!/usr/bin/env bash
# Fuzzes the whole compile for SECONDS (default 900) with libFuzzer, one
# worker. New inputs go to build/fuzz/corpus, crash inputs to
# build/fuzz/artifacts/; keep a fixed crash input in fuzz/crashes/.
# `fuzz.sh SECONDS decompile` fuzzes the decoder and decompiler of compiled
# files instead (corpus build/fuzz/decompile_corpus).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install_packages.sh cmake ninja-build clang
cmake --preset fuzz >/dev/null
if [[ "${2:-}" == decompile ]]; then
  cmake --build --preset fuzz --target decompile_fuzzer
  mkdir -p build/fuzz/decompile_corpus build/fuzz/artifacts
  exec ./build/fuzz/fuzz/decompile_fuzzer -max_total_time="${1:-900}" -timeout=30 -rss_limit_mb=2560 \
    -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 build/fuzz/decompile_corpus
fi
cmake --build --preset fuzz --target compile_fuzzer
mkdir -p build/fuzz/corpus build/fuzz/artifacts
./build/fuzz/fuzz/compile_fuzzer -max_total_time="${1:-900}" -timeout=30 -rss_limit_mb=2560 \
  -dict=fuzz/descriptions.dict -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 \
  build/fuzz/corpus fuzz/corpus
