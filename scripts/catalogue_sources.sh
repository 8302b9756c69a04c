# Sourced by the catalogue scripts: extract_messages OUT.pot writes every text
# the tool's sources mark for translation (tr, trf, N_) as a gettext template.
extract_messages() {
  local root out
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  out=$1
  (cd "$root" &&
    find tools descriptions compiler -name '*.cpp' -o -name '*.h' | grep -v '_test\.cpp$' | LC_ALL=C sort |
    xgettext --files-from=- --language=C++ --from-code=UTF-8 --keyword= --keyword=tr --keyword=trf \
      --keyword=N_ --add-comments=TRANSLATORS: --sort-by-file --add-location=file --no-wrap --package-name=scenario_tool -o "$out")
}
