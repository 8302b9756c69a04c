#!/usr/bin/env bash
# Pins the six files a run ships: runs the program in an empty directory and
# writes their SHA-256 sums to testing/shipped_files.sha256, which the test
# InstallerRun.ShipsThePinnedBytes compares every run against. Run it only
# when a change of what players get is intended, and commit the new pin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset debug >/dev/null
cmake --build --preset debug --target lorvena_pf >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$root/build/debug/lorvena_pf" "$dir/lorvena_pf"
(cd "$dir" && ./lorvena_pf >/dev/null && rm lorvena_pf && LC_ALL=C ls | LC_ALL=C sort | while read -r name; do
  sha256sum "$name"
done) >"$root/testing/shipped_files.sha256"
cat "$root/testing/shipped_files.sha256"
