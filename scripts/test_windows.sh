#!/usr/bin/env bash
# Builds the Windows program with both mingw-w64 toolchains and tests it under
# Wine, one test at a time, on a private X server: the files of a normal run
# against the native program's, the waiting window at 96 and at 144 dpi, the
# two message boxes, the executable's headers and its resources (manifest,
# version, icon). Ends with the line "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# 0 skips the attempt to install the 32-bit Wine.
TRY_WINE32=${TRY_WINE32:-1}
# 1 (or the option --no-32bit) takes the path of a machine that runs no
# 32-bit program: no i386 architecture added, runtime tests on the x86_64
# build only, the i686 build and its static checks as always.
NO_32BIT=${NO_32BIT:-0}
for arg in "$@"; do
  case $arg in
    --no-32bit) NO_32BIT=1 ;;
    *) echo "usage: $0 [--no-32bit]" >&2; exit 2 ;;
  esac
done

six_files=("LORVENA PF_4316_note.txt" "LORVENA PF_4316_rallentamenti.txt"
           "LORVENA PF_4316_scheda_treno.txt" "LORVENA PF_linea.dat"
           "LORVENA PF_4316.sim" "LORVENA PF_4316.dat")
system_dlls='^(kernel32|user32|gdi32|msvcrt|advapi32|shell32|comctl32|ole32|ws2_32|ucrtbase|api-ms-win-crt-.*)\.dll$'
title='LORVENA PF'
# Vista, 7, 8, 8.1 and 10: the versions the manifest declares.
supported_os=("{e2011457-1546-43c5-a5fe-008deee3d3f0}" "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"
              "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}" "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"
              "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")
# The form at each dpi tested, in pixels: client width and height, then
# Label1's left, top, width and height (960, 960, 2652 x 792 twips).
declare -A form_at=([96]="280 179 64 64 177 53" [144]="420 269 96 96 265 79")
# Two colours of the program's icon (app/resources/draw_icon.sh), as ARGB.
icon_colours=(0xff1d4e89 0xfff2b705)

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS $1"; }
fail() { failed=$((failed + 1)); echo "FAIL $1: $2"; }

log() { echo "-- $*"; }

# ---------------------------------------------------------------- packages

bash scripts/install_packages.sh cmake ninja-build g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-utils imagemagick \
  icoutils python3 nlohmann-json3-dev gettext \
  || { echo "0 passed, 1 failed"; exit 1; }

# Runs a program once, directly (no shell takes over a file the kernel
# refuses), for at most 30 s: succeeds when it ends with status 0, else
# prints why it did not run.
run_once() {
  python3 - "$@" <<'EOF_PY'
import subprocess, sys
try:
    done = subprocess.run(sys.argv[1:], stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
except OSError as e:
    sys.exit(print(f"{sys.argv[1]}: {e.strerror}") or 1)
except subprocess.TimeoutExpired:
    sys.exit(print(f"{sys.argv[1]}: no end within 30 s") or 1)
if done.returncode != 0:
    sys.exit(print(f"{sys.argv[1]}: exit status {done.returncode}") or 1)
EOF_PY
}

# The smallest 32-bit x86 Linux program: it only exits with status 0.
# Some kernels have 32-bit emulation turned off and refuse it with "Exec
# format error"; that is asked before anything of the i386 architecture is
# installed.
kernel_runs_32bit() {
  local elf reason
  elf=$(mktemp /tmp/lorvena-probe32.XXXXXX)
  python3 - "$elf" <<'EOF_PY'
import struct, sys
code = bytes([0xB8, 1, 0, 0, 0, 0x31, 0xDB, 0xCD, 0x80])  # exit(0) through int 0x80
base, headers = 0x08048000, 52 + 32
elf = (b"\x7fELF" + bytes([1, 1, 1]) + bytes(9)
       + struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, base + headers, 52, 0, 0, 52, 32, 1, 0, 0, 0)
       + struct.pack("<8I", 1, 0, base, base, headers + len(code), headers + len(code), 5, 0x1000) + code)
open(sys.argv[1], "wb").write(elf)
EOF_PY
  chmod +x "$elf"
  reason=$(run_once "$elf")
  local status=$?
  rm -f "$elf"
  [ "$status" = 0 ] || echo "${reason#*: }"
  return $status
}

# wine32 lives in Debian's i386 architecture, whose indexes are not always in
# sync: try it briefly, and take the architecture away again when it fails.
# Whether it works is found by starting its loader, never by its file.
try_wine32() {
  run_once /usr/lib/wine/wine --version >/dev/null && return 0
  [ "$TRY_WINE32" = 1 ] || return 1
  local added=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 || return 1
    added=1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # Only the downloads are cut short; dpkg itself is never interrupted.
  if timeout 120 apt-get update -q </dev/null >/dev/null 2>&1 &&
     timeout 300 apt-get install -y -q --download-only --no-install-recommends wine32:i386 </dev/null >/dev/null 2>&1 &&
     apt-get install -y -q --no-install-recommends wine32:i386 </dev/null >/dev/null 2>&1 &&
     run_once /usr/lib/wine/wine --version >/dev/null; then
    return 0
  fi
  if [ "$added" = 1 ] && ! dpkg -l | awk '$1 ~ /^.i/ && $2 ~ /:i386$/ {found=1} END {exit !found}'; then
    dpkg --remove-architecture i386 || true
  fi
  return 1
}

# Sets have_wine32 and logs one line saying whether 32-bit programs run here
# and why not.
probe_32bit() {
  local why
  have_wine32=0
  if [ "$NO_32BIT" = 1 ]; then
    why="NO_32BIT=1 or --no-32bit forces it"
  elif ! why=$(kernel_runs_32bit); then
    why="the kernel runs no 32-bit program: $why"
  elif ! try_wine32; then
    why="the 32-bit Wine loader does not start: $(run_once /usr/lib/wine/wine --version)"
  else
    have_wine32=1
    log "32-bit programs run here ($(/usr/lib/wine/wine --version 2>/dev/null) started): Wine tests on the i686 and x86_64 builds"
    return
  fi
  log "32-bit programs cannot run here ($why): Wine tests on the x86_64 build only; the i686 build and its static checks as always"
}

probe_32bit

# Past the installs, no file written may pass 256 MiB (in KiB), as in
# scripts/test.sh: a runaway writer fails instead of filling the disk.
ulimit -f $((256 * 1024))

# ---------------------------------------------------------------- builds

build() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j2 >/dev/null
}
for preset in release windows-i686 windows-x86_64; do
  log "building $preset"
  if build "$preset"; then pass "build $preset"; else fail "build $preset" "cmake failed"; fi
done
native_exe=$root/build/release/lorvena_pf

# ---------------------------------------------------------------- headers

# $1 exe, $2 objdump format, $3 optional-header magic
check_pe() {
  local exe=$1 name
  name=$(basename "$(dirname "$exe")")/$(basename "$exe")
  [ -f "$exe" ] || { fail "PE $name" "missing"; return; }
  local dump dlls
  dump=$(objdump -p "$exe")
  grep -q "file format $2\$" <<<"$dump" || { fail "PE $name" "not $2"; return; }
  grep -Eq "^Magic[[:space:]]+$3" <<<"$dump" || { fail "PE $name" "magic is not $3"; return; }
  grep -Eq "^Subsystem[[:space:]]+00000002" <<<"$dump" || { fail "PE $name" "not a GUI program"; return; }
  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
  [ -n "$dlls" ] || { fail "PE $name" "no imports found"; return; }
  local others
  others=$(tr 'A-Z' 'a-z' <<<"$dlls" | grep -Ev "$system_dlls")
  [ -z "$others" ] || { fail "PE $name" "imports non-system DLLs: $others"; return; }
  pass "PE $name: $2, GUI, imports $(tr '\n' ' ' <<<"$dlls")"
}
check_pe build/windows-i686/lorvena_pf.exe pei-i386 "010b"
check_pe build/windows-x86_64/lorvena_pf.exe pei-x86-64 "020b"

# ---------------------------------------------------------------- resources

# The raw bytes of a resource: $1 exe, $2 type number, $3 optional name.
resource() { wrestool -x --raw -t "$2" ${3:+-n "$3"} "$1"; }

exe_name() { echo "$(basename "$(dirname "$1")")/$(basename "$1")"; }

# Windows reads the manifest of resource 1 when it starts the program.
check_manifest() {
  local exe=$1 name lines want
  name=$(exe_name "$exe")
  lines=$(resource "$exe" 24 1 | python3 scripts/windows_resources.py manifest - 2>&1) ||
    { fail "manifest $name" "$lines"; return; }
  for want in requestedExecutionLevel=asInvoker uiAccess=false dpiAware=true dpiAwareness=system \
              "${supported_os[@]/#/supportedOS=}"; do
    grep -qFx "$want" <<<"$lines" || { fail "manifest $name" "no $want in [$(tr '\n' ' ' <<<"$lines")]"; return; }
  done
  pass "manifest $name: asInvoker, dpiAware true, system dpi awareness, ${#supported_os[@]} supported versions"
}

# What Properties shows: the text block the translation names, and the
# numbers beside it agreeing with the text.
check_version() {
  local exe=$1 name lines want key
  name=$(exe_name "$exe")
  lines=$(resource "$exe" 16 | python3 scripts/windows_resources.py version - 2>&1) ||
    { fail "version $name" "$lines"; return; }
  for want in fixed.FileType=1 Translation=041004B0 "041004B0.ProductName=LORVENA PF" \
              041004B0.OriginalFilename=lorvena_pf.exe; do
    grep -qFx "$want" <<<"$lines" || { fail "version $name" "no $want in [$(tr '\n' ' ' <<<"$lines")]"; return; }
  done
  for key in CompanyName FileDescription LegalCopyright; do
    grep -q "^041004B0\.$key=." <<<"$lines" || { fail "version $name" "no $key"; return; }
  done
  local number text
  for key in FileVersion ProductVersion; do
    number=$(sed -n "s/^fixed\.$key=//p" <<<"$lines")
    text=$(sed -n "s/^041004B0\.$key=//p" <<<"$lines")
    [ -n "$number" ] && [ "$number" = "$text" ] || { fail "version $name" "$key $number, text [$text]"; return; }
  done
  pass "version $name: $(sed -n 's/^041004B0\.ProductName=//p' <<<"$lines") $number, $(sed -n 's/^041004B0\.FileDescription=//p' <<<"$lines")"
}

# Icon group 1 is the one the window class loads and Explorer shows.
check_icon() {
  local exe=$1 name sizes size
  name=$(exe_name "$exe")
  wrestool -x -t 14 -n 1 "$exe" >"$resources_tmp/icon.ico" 2>/dev/null && [ -s "$resources_tmp/icon.ico" ] ||
    { fail "icon $name" "no icon group 1"; return; }
  sizes=$(icotool -l "$resources_tmp/icon.ico" 2>&1)
  for size in 16 24 32 48; do
    grep -q -- "--width=$size --height=$size --bit-depth=32" <<<"$sizes" ||
      { fail "icon $name" "no ${size}x$size 32-bit image in [$sizes]"; return; }
  done
  pass "icon $name: group 1 with 16, 24, 32 and 48 px images"
}

# The test program must start as the release does.
check_same_resources() {
  local build=$1 type
  for type in 24 16 14 3; do
    cmp -s <(resource "$build/lorvena_pf.exe" $type) <(resource "$build/lorvena_pf_test_program.exe" $type) ||
      { fail "resources $build" "type $type differs between the release and the test program"; return; }
  done
  pass "resources $build: the test program carries the release's manifest, version and icons"
}

# Every resource is tagged Italian (0x0410, 1040), the language players read.
check_language() {
  local exe=$1 name list others
  name=$(exe_name "$exe")
  list=$(wrestool -l "$exe" 2>&1)
  [ -n "$list" ] || { fail "language $name" "no resources listed"; return; }
  others=$(grep -v -- '--language=1040 ' <<<"$list")
  [ -z "$others" ] || { fail "language $name" "not Italian: $others"; return; }
  pass "language $name: all $(wc -l <<<"$list") resources Italian (1040)"
}

resources_tmp=$(mktemp -d /tmp/lorvena-resources.XXXXXX)
for build in build/windows-i686 build/windows-x86_64; do
  check_language "$build/lorvena_pf.exe"
  check_manifest "$build/lorvena_pf.exe"
  check_version "$build/lorvena_pf.exe"
  check_icon "$build/lorvena_pf.exe"
  check_same_resources "$build"
done
rm -rf "$resources_tmp"

# ---------------------------------------------------------------- package

# The players' package: the program and its README in English and Italian,
# both Windows-1252 text with CR LF line ends.
check_package() {
  local stage=$work_package name file
  (cd build/windows-i686 && cmake --install . --prefix "$stage" >/dev/null) ||
    { fail "package" "cmake --install failed"; return; }
  for name in lorvena_pf.exe README.txt LEGGIMI.txt; do
    [ -s "$stage/$name" ] || { fail "package" "no $name"; return; }
  done
  for file in README.txt LEGGIMI.txt; do
    python3 - "$stage/$file" <<'EOF_PY' || { fail "package" "$file is not Windows-1252 text with CR LF line ends"; return; }
import sys
data = open(sys.argv[1], "rb").read()
data.decode("cp1252")
lines = data.split(b"\r\n")
sys.exit(lines[-1] != b"" or any(b"\n" in l or b"\r" in l for l in lines))
EOF_PY
  done
  pass "package: lorvena_pf.exe, README.txt and LEGGIMI.txt, Windows-1252 with CR LF"
}
work_package=$(mktemp -d /tmp/lorvena-package.XXXXXX)
check_package
rm -rf "$work_package"

# ---------------------------------------------------------------- Wine

work=$(mktemp -d /tmp/lorvena-wine.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
# A second prefix whose screen is at 144 dpi (150%).
prefix_144=$work/prefix-144dpi
xvfb_pid=
cleanup() {
  if [ -x /usr/lib/wine/wineserver64 ]; then
    /usr/lib/wine/wineserver64 -k 2>/dev/null
    WINEPREFIX=$prefix_144 /usr/lib/wine/wineserver64 -k 2>/dev/null
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A private X server on a free display.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

log "wineboot --init"
timeout 300 /usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1
/usr/lib/wine/wineserver64 -w

log "144 dpi prefix"
cp -a "$WINEPREFIX" "$prefix_144"
WINEPREFIX=$prefix_144 /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f \
  </dev/null >/dev/null 2>&1
WINEPREFIX=$prefix_144 /usr/lib/wine/wineserver64 -w

# Runs a test in the 144 dpi prefix: the test function and its arguments.
at_144_dpi() {
  local saved=$WINEPREFIX
  export WINEPREFIX=$prefix_144
  "$@"
  export WINEPREFIX=$saved
}

# Runs a Windows program in the background: $1 loader, $2 log, then the
# program and its arguments. Sets run_pid.
start_windows() {
  local loader=$1 out=$2
  shift 2
  timeout 120 "$loader" "$@" </dev/null >"$out" 2>&1 &
  run_pid=$!
}

# Waits for run_pid to end (at most $1 s) and sets run_status; 124 if it hung.
finish_windows() {
  local limit=$1
  for _ in $(seq $((limit * 10))); do
    kill -0 "$run_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$run_pid" 2>/dev/null; then
    kill "$run_pid" 2>/dev/null
    wait "$run_pid" 2>/dev/null
    run_status=124
  else
    wait "$run_pid"
    run_status=$?
  fi
  /usr/lib/wine/wineserver64 -w
}

# Prints the X window of the program's form, or of its message box
# ($1 = form | box: a message box is transient for the form), waiting up to 20 s.
find_window() {
  local which=$1 id transient
  for _ in $(seq 200); do
    for id in $(xdotool search --name "^$title\$" 2>/dev/null); do
      transient=$(xprop -id "$id" WM_TRANSIENT_FOR 2>/dev/null | grep -c 'window id')
      if { [ "$which" = box ] && [ "$transient" = 1 ]; } ||
         { [ "$which" = form ] && [ "$transient" = 0 ]; }; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# Closes a message box with its default button, as a player would.
close_box() {
  xdotool mousemove --window "$1" 10 5 click 1 2>/dev/null
  sleep 0.3
  xdotool key Return 2>/dev/null
}

# A fresh directory with a non-ASCII name holding a copy of the programs.
fresh_dir() {
  local dir
  dir=$(mktemp -d "$work/run.XXXXXX")/"Società ŝ"
  mkdir -p "$dir"
  cp "$1"/*.exe "$dir/"
  echo "$dir"
}

# The files a run left, with the programs themselves left out.
listing() { (cd "$1" && find . -type f ! -name '*.exe' ! -name lorvena_pf | sort); }

# ---------------------------------------------------------------- runtime tests

# $1 label, $2 build dir, $3 loader
normal_run_matches_native() {
  local label=$1 build=$2 loader=$3 native windows elsewhere
  native=$(mktemp -d "$work/native.XXXXXX")
  cp "$native_exe" "$native/" && (cd "$native" && ./lorvena_pf >/dev/null 2>&1) ||
    { fail "$label normal run" "native run failed"; return; }
  windows=$(fresh_dir "$build")
  elsewhere=$(mktemp -d "$work/cwd.XXXXXX")
  local round
  for round in first second; do
    cd "$elsewhere" && start_windows "$loader" "$work/normal.log" "$windows/lorvena_pf.exe"
    cd "$root" && finish_windows 90
    [ "$run_status" = 0 ] || { fail "$label normal run" "$round run ended with status $run_status"; return; }
  done
  [ -z "$(ls -A "$elsewhere")" ] || { fail "$label normal run" "files written to the working directory"; return; }
  local want got
  want=$(listing "$native")
  got=$(listing "$windows")
  [ "$want" = "$got" ] || { fail "$label normal run" "files differ: native [$want] windows [$got]"; return; }
  local f
  while IFS= read -r f; do
    [ -n "$f" ] || continue
    cmp -s "$native/$f" "$windows/$f" || { fail "$label normal run" "$f differs from the native file"; return; }
  done <<<"$want"
  local expected
  expected=$(printf './%s\n' "${six_files[@]}" | sort)
  [ "$got" = "$expected" ] || { fail "$label normal run" "not the six scenario files: [$got]"; return; }
  local count=0
  [ -z "$got" ] || count=$(wc -l <<<"$got")
  pass "$label normal run, twice, in \"Società ŝ\": $count file(s), same bytes as the native run"
}

program_directory_from_module_path() {
  local label=$1 build=$2 loader=$3 dir elsewhere expected
  dir=$(fresh_dir "$build")
  elsewhere=$(mktemp -d "$work/cwd.XXXXXX")
  cd "$elsewhere" && start_windows "$loader" "$work/dir.log" "$dir/lorvena_pf_test_program.exe" --write-directory
  cd "$root" && finish_windows 60
  # Wine shows the Unix root as drive Z:.
  expected="Z:${dir//\//\\}"
  [ -f "$dir/program_directory.txt" ] || { fail "$label program directory" "nothing written beside the program"; return; }
  local got
  got=$(cat "$dir/program_directory.txt")
  [ "$got" = "$expected" ] || { fail "$label program directory" "got [$got], expected [$expected]"; return; }
  pass "$label program directory: $got"
}

# $1 label, $2 build dir, $3 loader, $4 the dpi of the Wine prefix in use.
waiting_window() {
  local label=$1 build=$2 loader=$3 dpi=$4 dir id info shot name
  name="$label waiting window at $dpi dpi"
  local client_width client_height label_left label_top label_width label_height
  read -r client_width client_height label_left label_top label_width label_height <<<"${form_at[$dpi]}"
  dir=$(fresh_dir "$build")
  # The hook stands in for the long work: the program sleeps without
  # processing messages, so what is seen is what the first paint left.
  start_windows "$loader" "$work/window.log" "$dir/lorvena_pf_test_program.exe" --hold 6000 --write-dpi
  id=$(find_window form) || { finish_windows 30; fail "$name" "no window titled $title"; return; }
  sleep 1
  info=$(xwininfo -id "$id")
  local width height icon
  width=$(sed -n 's/^ *Width: //p' <<<"$info")
  height=$(sed -n 's/^ *Height: //p' <<<"$info")
  icon=$(xprop -id "$id" -notype -f _NET_WM_ICON 32x '=$0+\n' _NET_WM_ICON 2>/dev/null)
  shot=$work/waiting-window-$label-${dpi}dpi.png
  import -window "$id" "$shot" 2>/dev/null
  finish_windows 30
  [ "$run_status" = 0 ] || { fail "$name" "exit status $run_status"; return; }
  grep -q 'IsViewable' <<<"$info" || { fail "$name" "window not mapped"; return; }
  [ "$width" = "$client_width" ] && [ "$height" = "$client_height" ] ||
    { fail "$name" "client area ${width}x${height}, expected ${client_width}x$client_height"; return; }
  local reported
  reported=$(tr -d '\r' <"$dir/dpi.txt" 2>/dev/null)
  [ "$reported" = "screen $dpi $dpi window $dpi" ] || { fail "$name" "dpi in force [$reported]"; return; }
  local label_box label_colours above_colours text_height
  label_box=${label_width}x$label_height+$label_left+$label_top
  label_colours=$(convert "$shot" -crop "$label_box" +repage -format %k info: 2>/dev/null)
  above_colours=$(convert "$shot" -crop "${client_width}x$((label_top - 4))+0+0" +repage -format %k info: 2>/dev/null)
  [ "${label_colours:-0}" -gt 1 ] || { fail "$name" "label area is blank"; return; }
  [ "$above_colours" = 1 ] || { fail "$name" "area above the label is not plain ($above_colours colours)"; return; }
  # "Attendere" has capitals and ascenders but no descenders: its ink is
  # about three quarters of the 24 pt em, which is 24 * dpi / 72 pixels.
  local em=$((24 * dpi / 72))
  text_height=$(convert "$shot" -crop "$label_box" +repage -fuzz 20% -trim -format %h info: 2>/dev/null)
  [ $((text_height * 100)) -ge $((60 * em)) ] && [ $((text_height * 100)) -le $((85 * em)) ] ||
    { fail "$name" "label text ${text_height:-?} px high, expected 0.6 to 0.85 of a $em px em"; return; }
  local colour
  for colour in "${icon_colours[@]}"; do
    grep -q "$colour" <<<"$icon" || { fail "$name" "the window's icon is not the program's (no $colour)"; return; }
  done
  mkdir -p build/windows-tests && cp "$shot" build/windows-tests/
  pass "$name: client ${width}x$height, dpi in force $dpi, label text $text_height px, program icon, build/windows-tests/$(basename "$shot")"
}

# $4 hook arguments, $5 expected start of the message text (as Wine traces
# it), $6 the whole text must match (1) or only its start (0).
message_box_ends_run() {
  local label=$1 build=$2 loader=$3 hook=$4 text=$5 whole=$6 dir id name
  name="$label $hook"
  dir=$(fresh_dir "$build")
  # Wine traces the text of every message box it opens.
  WINEDEBUG=-all,trace+msgbox start_windows "$loader" "$work/box.log" "$dir/lorvena_pf_test_program.exe" $hook
  id=$(find_window box) || { finish_windows 30; fail "$name" "no message box"; return; }
  sleep 1
  kill -0 "$run_pid" 2>/dev/null || { fail "$name" "the program did not wait for the message box"; return; }
  import -window "$id" "$work/box.png" 2>/dev/null
  close_box "$id"
  finish_windows 20
  [ "$run_status" != 124 ] || { fail "$name" "still running after the box was closed"; return; }
  [ "$run_status" != 0 ] || { fail "$name" "exit status 0"; return; }
  local traced
  traced=$(sed -n 's/.*MSGBOX_OnInit L"\(.*\)"\r\{0,1\}$/\1/p' "$work/box.log" | head -1)
  if [ "$whole" = 1 ]; then
    [ "$traced" = "$text" ] || { fail "$name" "message [$traced], expected [$text]"; return; }
  else
    [[ "$traced" == "$text"* ]] || { fail "$name" "message [$traced] does not start with [$text]"; return; }
  fi
  pass "$name: box [$traced] shown and waited for, exit status $run_status"
}

if [ "$have_wine32" = 1 ]; then
  runtime=("i686 build/windows-i686 /usr/lib/wine/wine" "x86_64 build/windows-x86_64 /usr/lib/wine/wine64")
else
  runtime=("x86_64 build/windows-x86_64 /usr/lib/wine/wine64")
fi
for entry in "${runtime[@]}"; do
  read -r label build loader <<<"$entry"
  [ -f "$build/lorvena_pf_test_program.exe" ] || { fail "$label runtime" "$build not built"; continue; }
  log "Wine tests on the $label build"
  normal_run_matches_native "$label" "$build" "$loader"
  program_directory_from_module_path "$label" "$build" "$loader"
  waiting_window "$label" "$build" "$loader" 96
  at_144_dpi waiting_window "$label" "$build" "$loader" 144
  message_box_ends_run "$label" "$build" "$loader" "--errore 1250" " Errore n. 1250" 1
  message_box_ends_run "$label" "$build" "$loader" "--unwritable" "Errore di run-time " 0
done

. scripts/test_package_windows.sh
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
