#!/usr/bin/env bash
# Measures the program against the cost of only copying the files it writes:
# the compile benchmarks, then whole-process timings side by side in one
# hyperfine run, peak memory, and the ratios against the performance goals.
# Usage: bash scripts/bench.sh [RUNS]   (RUNS per command, default 40)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-40}
cd "$root"
bash scripts/install_packages.sh cmake ninja-build g++ libbenchmark-dev hyperfine time jq

echo "== build (release program, release benchmarks)"
cmake --preset release >/dev/null
cmake --build build/release --target lorvena_pf
cmake --preset bench >/dev/null
cmake --build build/bench --target compile_benchmark compile_dir generate_pair empty_program
exe="$root/build/release/lorvena_pf"
tools="$root/build/bench"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== compile benchmarks (in process)"
"$tools/compile_benchmark" --benchmark_min_time=0.5

# The inputs and the reference outputs the copies start from.
mkdir "$work/run_files" "$work/pair_1000000" "$work/pair_100000" "$work/out_1000000"
cp "$exe" "$work/run_files/" && (cd "$work/run_files" && ./lorvena_pf >/dev/null) && rm "$work/run_files/lorvena_pf"
"$tools/generate_pair" 1000000 "$work/pair_1000000"
"$tools/generate_pair" 100000 "$work/pair_100000"
cp "$work/pair_1000000/"* "$work/out_1000000/" && "$tools/compile_dir" "$work/out_1000000"
rm -f "$work/out_1000000/"*.txt
run_files=("$work/run_files/"*)
compiled_files=("$work/out_1000000/"*)
[ ${#run_files[@]} -eq 6 ] || { echo "the run left ${#run_files[@]} files, not 6" >&2; exit 1; }
[ ${#compiled_files[@]} -eq 3 ] || { echo "the compile left ${#compiled_files[@]} files, not 3" >&2; exit 1; }

quoted() { local out="" f; for f in "$@"; do out+=" '$f'"; done; echo "$out"; }
fresh() { echo "bash -c 'rm -rf $work/t && mkdir $work/t$1'"; }

echo "== whole process, side by side (hyperfine, $runs runs each, fresh directory each run)"
hyperfine -N --warmup 3 --runs "$runs" --export-json "$work/times.json" \
  --prepare "$(fresh " && cp $exe $work/t/")" --command-name run "$work/t/lorvena_pf" \
  --prepare "$(fresh '')" --command-name run_copy "cp$(quoted "${run_files[@]}") $work/t/" \
  --prepare "$(fresh " && cp $work/pair_1000000/* $work/t/")" --command-name compile_1000000 "$tools/compile_dir $work/t" \
  --prepare "$(fresh '')" --command-name compile_1000000_copy "cp$(quoted "${compiled_files[@]}") $work/t/" \
  --prepare "$(fresh " && cp $work/pair_100000/* $work/t/")" --command-name compile_100000 "$tools/compile_dir $work/t"

echo "== peak memory (/usr/bin/time -v)"
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {print $2}'; }
rm -rf "$work/t" && mkdir "$work/t" && cp "$exe" "$work/t/"
peak_run=$(peak "$work/t/lorvena_pf")
rm -rf "$work/t" && mkdir "$work/t"
peak_run_copy=$(peak cp "${run_files[@]}" "$work/t/")
rm -rf "$work/t" && mkdir "$work/t" && cp "$work/pair_1000000/"* "$work/t/"
peak_compile=$(peak "$tools/compile_dir" "$work/t")
rm -rf "$work/t" && mkdir "$work/t"
peak_compile_copy=$(peak cp "${compiled_files[@]}" "$work/t/")
peak_empty=$(peak "$tools/empty_program")
bytes_run=$(cat "${run_files[@]}" | wc -c)
bytes_compile=$(cat "${compiled_files[@]}" | wc -c)
printf '%-28s %8s KiB  (writes %s bytes)\n' "complete run" "$peak_run" "$bytes_run"
printf '%-28s %8s KiB\n' "copy of its six files" "$peak_run_copy"
printf '%-28s %8s KiB  (writes %s bytes)\n' "compile, 1000000 m" "$peak_compile" "$bytes_compile"
printf '%-28s %8s KiB\n' "copy of its three files" "$peak_compile_copy"
printf '%-28s %8s KiB\n' "empty C++ program" "$peak_empty"

echo "== goals (ratios of means from the one hyperfine run above; $(nproc) cores, shared)"
mean() { jq -r --arg n "$1" '.results[] | select(.command == $n) | .mean' "$work/times.json"; }
goal() { # label value limit
  awk -v l="$1" -v v="$2" -v m="$3" 'BEGIN { printf "%-50s %7.3f  (goal <= %s)  %s\n", l, v, m, (v <= m ? "met" : "MISSED") }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }
goal "complete run / copy of its six files" "$(ratio "$(mean run)" "$(mean run_copy)")" 1.5
goal "compile 1000000 m / copy of its three files" "$(ratio "$(mean compile_1000000)" "$(mean compile_1000000_copy)")" 2
goal "compile 1000000 m / compile 100000 m" "$(ratio "$(mean compile_1000000)" "$(mean compile_100000)")" 12
memory_goal() { # label peak_kib bytes
  local limit; limit=$(awk -v b="$3" -v e="$peak_empty" 'BEGIN { print 1.5 * b / 1024 + e }')
  goal "$1 (peak / allowed)" "$(ratio "$2" "$limit")" 1
}
memory_goal "complete run memory" "$peak_run" "$bytes_run"
memory_goal "compile 1000000 m memory" "$peak_compile" "$bytes_compile"
