#!/usr/bin/env bash
# Builds everything and runs every test: the native debug build, then the
# AddressSanitizer + UndefinedBehaviorSanitizer build, then the Windows
# programs under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# libxml2-utils (xmllint) and python3 read the tool's outputs in the hostile names test.
bash scripts/install_packages.sh cmake ninja-build g++ libgtest-dev libssl-dev chromium firefox-esr valgrind \
  nlohmann-json3-dev libcpp-httplib-dev libxml2-utils python3 gettext
# Node and npm for the browser checks (a Node.js that brings its own npm
# already provides the command), and their one package, at the locked version,
# without a browser download: the checks drive Debian's Chromium and Firefox.
command -v npm >/dev/null || bash scripts/install_packages.sh nodejs npm
(cd browser_tests && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund)
# The language server's client test and its protocol library, locked.
(cd lsp_tests && npm ci --no-audit --no-fund)
# The SARIF validator for `check --format sarif`, locked.
(cd sarif_tests && npm ci --no-audit --no-fund)
# No test may write a file past 256 MiB (in KiB, as ulimit counts): far above
# the largest a test writes (the 20 MB plan of a 1000 km line), far below
# what would fill the disk. Each test also has a timeout (CMakePresets.json).
file_size_limit=$((256 * 1024))
for preset in debug sanitize; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  (ulimit -f "$file_size_limit" && ctest --preset "$preset" -j2)
done
bash scripts/test_windows.sh
