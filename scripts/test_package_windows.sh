# The packaged installer under Wine, sourced by scripts/test_windows.sh after
# its own tests (its builds, Wine prefix, display, runtime list and pass/fail
# counters in place): the generic installer's headers and resources, the
# example and LORVENA PF's own pair packaged by the native tool, each packaged
# program's version block, a run of each against `scenario_tool compile` and
# the documents given, and a cut, a damaged and a later payload refused.
# shellcheck shell=bash

package_tool=${package_tool:-$root/build/release/scenario_tool}
package_work=$(mktemp -d "$work/package.XXXXXX")
package_title='Installazione scenario'

# $1 exe, $2 the product name, $3 the description its version block must show.
check_packaged_version() {
  local exe=$1 product=$2 description=$3 name lines want
  name=$(basename "$exe")
  lines=$(resource "$exe" 16 | python3 scripts/windows_resources.py version - 2>&1) ||
    { fail "version $name" "$lines"; return; }
  for want in fixed.FileType=1 Translation=041004B0 "041004B0.ProductName=$product" \
              "041004B0.FileDescription=$description" 041004B0.OriginalFilename=scenario_installer.exe; do
    grep -qFx "$want" <<<"$lines" || { fail "version $name" "no $want in [$(tr '\n' ' ' <<<"$lines")]"; return; }
  done
  pass "version $name: $product, $description"
}

# The documents given to `package`: one UTF-8 with LF ends, one Windows-1252
# already; and the bytes the installer must write for them.
printf 'Orario del treno 2417\nPartenza da Citt\xc3\xa0 Alta alle 7:10\n' >"$package_work/orario.txt"
printf 'Note: velocit\xe0 ridotta dopo la galleria\r\n' >"$package_work/VALDORNO_2417_note.txt"
mkdir -p "$package_work/expected-documents"
printf 'Orario del treno 2417\r\nPartenza da Citt\xe0 Alta alle 7:10\r\n' >"$package_work/expected-documents/orario.txt"
cp "$package_work/VALDORNO_2417_note.txt" "$package_work/expected-documents/"

# What `scenario_tool compile` writes for the example, and LORVENA PF's pair
# recovered from its native run by `decompile` (which checks that it compiles
# back to the same bytes), with its three documents.
mkdir -p "$package_work/compiled" "$package_work/lorvena" "$package_work/lorvena-pair"
"$package_tool" compile examples VALDORNO 2417 --out "$package_work/compiled" >/dev/null 2>&1 ||
  fail "package setup" "scenario_tool compile failed"
cp "$native_exe" "$package_work/lorvena/" && (cd "$package_work/lorvena" && ./lorvena_pf >/dev/null 2>&1) &&
  rm "$package_work/lorvena/lorvena_pf" &&
  "$package_tool" decompile "$package_work/lorvena" "LORVENA PF" 4316 --out "$package_work/lorvena-pair" >/dev/null 2>&1 ||
  fail "package setup" "LORVENA PF's pair could not be recovered"

for package_build in build/windows-i686 build/windows-x86_64; do
  package_arch=${package_build#build/windows-}
  generic=$package_build/scenario_installer.exe
  if [ "$package_arch" = i686 ]; then check_pe "$generic" pei-i386 "010b"; else check_pe "$generic" pei-x86-64 "020b"; fi
  check_language "$generic"
  check_manifest "$generic"
  out=$package_work/valdorno-$package_arch.exe
  if "$package_tool" package examples VALDORNO 2417 --documents "$package_work/orario.txt" \
       "$package_work/VALDORNO_2417_note.txt" --installer "$generic" --out "$out" >"$package_work/package.log" 2>&1; then
    pass "package VALDORNO 2417 from $generic: $(stat -c %s "$out") bytes (generic installer $(stat -c %s "$generic") bytes)"
  else
    fail "package VALDORNO 2417 from $generic" "$(tail -3 "$package_work/package.log")"
  fi
  if "$package_tool" package "$package_work/lorvena-pair" "LORVENA PF" 4316 --documents \
       "$package_work/lorvena/LORVENA PF_4316_note.txt" "$package_work/lorvena/LORVENA PF_4316_rallentamenti.txt" \
       "$package_work/lorvena/LORVENA PF_4316_scheda_treno.txt" --installer "$generic" \
       --out "$package_work/lorvena-$package_arch.exe" >"$package_work/package.log" 2>&1; then
    pass "package LORVENA PF 4316 from $generic"
  else
    fail "package LORVENA PF 4316 from $generic" "$(tail -3 "$package_work/package.log")"
  fi
  check_pe "$out" "$(objdump -f "$generic" | sed -n 's/.*file format //p')" \
    "$([ "$package_arch" = i686 ] && echo 010b || echo 020b)"
  check_language "$out"
  check_manifest "$out"
  check_packaged_version "$out" VALDORNO "Scenario VALDORNO 2417: installazione"
  check_packaged_version "$package_work/lorvena-$package_arch.exe" "LORVENA PF" "Scenario LORVENA PF 4316: installazione"
done

# $1 label, $2 loader, $3 packaged program, $4 folder of the files it must
# leave (the program itself aside).
packaged_run_matches() {
  local label=$1 loader=$2 program=$3 expected=$4 dir want got f
  dir=$(mktemp -d "$package_work/run.XXXXXX")/"Società ŝ"
  mkdir -p "$dir"
  cp "$program" "$dir/scenario.exe"
  start_windows "$loader" "$package_work/run.log" "$dir/scenario.exe"
  finish_windows 90
  [ "$run_status" = 0 ] || { fail "$label" "exit status $run_status"; return; }
  want=$(cd "$expected" && find . -type f | sort)
  got=$(cd "$dir" && find . -type f ! -name scenario.exe | sort)
  [ "$want" = "$got" ] || { fail "$label" "files [$got], expected [$want]"; return; }
  while IFS= read -r f; do
    cmp -s "$expected/$f" "$dir/$f" || { fail "$label" "$f differs"; return; }
  done <<<"$want"
  pass "$label: $(wc -l <<<"$got") files, the same bytes as compile and the documents given"
}

# $1 label, $2 loader, $3 program, $4 the message's start as Wine traces it
# (a letter outside ASCII as \00e8).
packaged_refusal() {
  local label=$1 loader=$2 program=$3 text=$4 dir id traced
  dir=$(mktemp -d "$package_work/refused.XXXXXX")
  cp "$program" "$dir/scenario.exe"
  WINEDEBUG=-all,trace+msgbox start_windows "$loader" "$package_work/box.log" "$dir/scenario.exe"
  id=
  for _ in $(seq 200); do
    id=$(xdotool search --name "^$package_title\$" 2>/dev/null | head -1)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { finish_windows 30; fail "$label" "no message box"; return; }
  sleep 1
  close_box "$id"
  finish_windows 20
  [ "$run_status" = 4 ] || { fail "$label" "exit status $run_status, expected 4"; return; }
  traced=$(sed -n 's/.*MSGBOX_OnInit L"\(.*\)"\r\{0,1\}$/\1/p' "$package_work/box.log" | head -1)
  [[ "$traced" == "$text"* ]] || { fail "$label" "message [$traced] does not start with [$text]"; return; }
  [ "$(ls -A "$dir")" = scenario.exe ] || { fail "$label" "files written: $(ls -A "$dir" | tr '\n' ' ')"; return; }
  pass "$label: [$traced], exit status 4, nothing written"
}

mkdir -p "$package_work/expected-valdorno" "$package_work/expected-lorvena"
cp "$package_work/compiled"/* "$package_work/expected-documents"/* "$package_work/expected-valdorno/"
cp "$package_work/lorvena"/* "$package_work/expected-lorvena/"
for entry in "${runtime[@]}"; do
  read -r label build loader <<<"$entry"
  program=$package_work/valdorno-$label.exe
  [ -f "$program" ] || { fail "$label packaged runs" "nothing packaged"; continue; }
  log "Wine tests of the packaged programs on the $label build"
  packaged_run_matches "$label packaged VALDORNO run" "$loader" "$program" "$package_work/expected-valdorno"
  packaged_run_matches "$label packaged LORVENA PF run" "$loader" "$package_work/lorvena-$label.exe" \
    "$package_work/expected-lorvena"
  size=$(stat -c %s "$program")
  head -c $((size - 100)) "$program" >"$package_work/cut.exe"
  python3 - "$program" "$package_work/flipped.exe" "$package_work/later.exe" <<'EOF_PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
flipped = bytearray(data); flipped[len(data) - 24 - 200] ^= 0x20
later = bytearray(data); later[len(data) - 24] = 2
open(sys.argv[2], "wb").write(flipped)
open(sys.argv[3], "wb").write(later)
EOF_PY
  packaged_refusal "$label packaged, payload cut" "$loader" "$package_work/cut.exe" "Questo programma non contiene lo scenario"
  packaged_refusal "$label packaged, a flipped byte" "$loader" "$package_work/flipped.exe" 'Lo scenario contenuto in questo programma \00e8 danneggiato'
  packaged_refusal "$label packaged, a later format" "$loader" "$package_work/later.exe" 'Lo scenario contenuto in questo programma \00e8 nel formato 2'
done
