#!/usr/bin/env bash
# Fails when po/it.po is out of step with the sources: a marked text with no
# translation (or a fuzzy one), or a translation of a text no longer used.
# scripts/update_catalogue.sh brings the catalogue in step for a translator.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/catalogue_sources.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
extract_messages "$work/messages.pot"
msgfmt --check -o /dev/null "$root/po/it.po"
msgmerge --quiet --no-fuzzy-matching --no-wrap -o "$work/merged.po" "$root/po/it.po" "$work/messages.pot"
status=0
# Names the entries msgattrib keeps with the options given, after the header.
report() {
  local what=$1
  shift
  rm -f "$work/part.po"
  msgattrib --no-wrap "$@" "$work/merged.po" -o "$work/part.po"
  [ -s "$work/part.po" ] || return 0
  local entries
  entries=$(awk 'BEGIN { RS = "" } NR > 1 { n++ } END { print n + 0 }' "$work/part.po")
  if [ "$entries" -gt 0 ]; then
    echo "po/it.po: $entries $what:"
    awk 'BEGIN { RS = "" } NR > 1 { print "  " $0 "\n" }' "$work/part.po" | grep -v '^#[:.] ' | head -60
    status=1
  fi
}
report "texts of the sources not translated" --untranslated --no-obsolete
report "fuzzy translations" --only-fuzzy --no-obsolete
report "translations of texts the sources no longer have" --only-obsolete
[ $status -eq 0 ] && echo "po/it.po: every text of the sources translated, none left over"
exit $status
