#!/usr/bin/env bash
# Builds the release program and runs it in a directory (default: ./scenario).
# The program writes its six files beside itself, so it is copied there first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-"$root/scenario"}
bash "$root/scripts/install_packages.sh" cmake ninja-build g++ nlohmann-json3-dev libcpp-httplib-dev gettext
cmake --preset release -S "$root" >/dev/null
cmake --build "$root/build/release" --target lorvena_pf
mkdir -p "$target"
cp "$root/build/release/lorvena_pf" "$target/lorvena_pf"
cd "$target"
./lorvena_pf
echo "files in $target:"
ls -l "$target"
