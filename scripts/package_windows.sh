#!/usr/bin/env bash
# Builds the release package: the 32-bit Windows program and its README for
# players in build/windows-i686/lorvena-pf-windows-i686.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install_packages.sh cmake ninja-build g++-mingw-w64-i686 binutils-mingw-w64-i686
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686 --target lorvena_pf
(cd build/windows-i686 && cpack -G ZIP)
ls -l build/windows-i686/lorvena-pf-windows-i686.zip
