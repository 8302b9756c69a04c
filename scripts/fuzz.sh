#!/usr/bin/env bash
# Fuzzes for SECONDS (default 900) with libFuzzer, one worker: the whole
# compile (TARGET compile, the default), the language server's message reader
# and handlers (TARGET lsp), or the decoder and decompiler of compiled files
# (TARGET decompile). New inputs go to build/fuzz/corpus (build/fuzz/lsp_corpus,
# build/fuzz/decompile_corpus), crash inputs to build/fuzz/artifacts/; keep a
# fixed crash input in fuzz/crashes/.
# Usage: bash scripts/fuzz.sh [SECONDS [compile|lsp|decompile]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install_packages.sh cmake ninja-build clang nlohmann-json3-dev libcpp-httplib-dev gettext
cmake --preset fuzz >/dev/null
mkdir -p build/fuzz/artifacts
if [ "${2:-compile}" = lsp ]; then
  cmake --build --preset fuzz --target lsp_message_fuzzer
  mkdir -p build/fuzz/lsp_corpus
  ./build/fuzz/fuzz/lsp_message_fuzzer -max_total_time="${1:-900}" -timeout=30 -rss_limit_mb=2560 \
    -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 build/fuzz/lsp_corpus fuzz/lsp_corpus
  exit 0
fi
if [ "${2:-compile}" = decompile ]; then
  cmake --build --preset fuzz --target decompile_fuzzer
  mkdir -p build/fuzz/decompile_corpus
  exec ./build/fuzz/fuzz/decompile_fuzzer -max_total_time="${1:-900}" -timeout=30 -rss_limit_mb=2560 \
    -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 build/fuzz/decompile_corpus fuzz/decompile_corpus
fi
cmake --build --preset fuzz --target compile_fuzzer
mkdir -p build/fuzz/corpus
./build/fuzz/fuzz/compile_fuzzer -max_total_time="${1:-900}" -timeout=30 -rss_limit_mb=2560 \
  -dict=fuzz/descriptions.dict -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 \
  build/fuzz/corpus fuzz/corpus
