#!/bin/bash
# Writes the record reference that `scenario_tool explain --markdown` prints
# (made from descriptions/record_formats.cpp) between the records markers of
# docs/descriptions.md. Usage: scripts/update_records_doc.sh [SCENARIO_TOOL]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$root/build/debug/scenario_tool}
doc=$root/docs/descriptions.md
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
{
  sed -n '1,/<!-- records:begin -->/p' "$doc"
  echo
  "$tool" explain --markdown
  echo
  sed -n '/<!-- records:end -->/,$p' "$doc"
} > "$tmp"
cp "$tmp" "$doc"
