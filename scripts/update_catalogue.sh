#!/usr/bin/env bash
# Brings po/it.po in step with the sources: adds the texts the sources mark
# and the catalogue lacks (to be translated), and marks as obsolete (#~) the
# ones no longer used (to be removed). The test catalogue_complete names both.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/catalogue_sources.sh"
pot=$(mktemp --suffix=.pot)
trap 'rm -f "$pot"' EXIT
extract_messages "$pot"
msgmerge --quiet --update --backup=none --no-fuzzy-matching --no-wrap "$root/po/it.po" "$pot"
