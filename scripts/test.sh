#!/usr/bin/env bash
# Builds everything and runs every test: the native debug build, then the
# AddressSanitizer + UndefinedBehaviorSanitizer build, then the Windows
# programs under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install_packages.sh cmake ninja-build g++ libgtest-dev chromium valgrind
for preset in debug sanitize; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done
bash scripts/test_windows.sh
