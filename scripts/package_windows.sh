#!/usr/bin/env bash
# Builds the release package: the 32-bit Windows program and its README for
# players, in English (README.txt) and Italian (LEGGIMI.txt), in
# build/windows-i686/lorvena-pf-windows-i686.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install_packages.sh cmake ninja-build g++-mingw-w64-i686 binutils-mingw-w64-i686 unzip nlohmann-json3-dev gettext
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686 --target lorvena_pf
(cd build/windows-i686 && cpack -G ZIP)
zip=build/windows-i686/lorvena-pf-windows-i686.zip
for name in lorvena_pf.exe README.txt LEGGIMI.txt; do
  unzip -l "$zip" | grep -q "/$name\$" || { echo "$zip has no $name" >&2; exit 1; }
done
ls -l "$zip"
