#!/usr/bin/env bash
# Measures the program against the cost of only copying the files it writes:
# the compile benchmarks, then whole-process timings side by side in one
# hyperfine run, peak memory, and the ratios against the performance goals.
# The complete run flushes the six files it leaves and their folder, so its
# floor is copying them and then flushing them and the folder (cp, sync).
# Usage: bash scripts/bench.sh [ROUNDS [RUNS]]   (default 5 rounds of 20 runs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-5}
runs=${2:-20}
cd "$root"
bash scripts/install_packages.sh cmake ninja-build g++ libbenchmark-dev hyperfine time jq gawk nlohmann-json3-dev libcpp-httplib-dev gettext

echo "== build (release program, release benchmarks)"
cmake --preset release >/dev/null
cmake --build build/release --target lorvena_pf
cmake --preset bench >/dev/null
cmake --build build/bench --target compile_benchmark compile_dir generate_pair empty_program run_unflushed lsp_benchmark timetable_benchmark
exe="$root/build/release/lorvena_pf"
tools="$root/build/bench"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== compile benchmarks (in process)"
"$tools/compile_benchmark" --benchmark_min_time=0.5

echo "== the language server after an edit, and its memory over 1,000 edits"
"$tools/lsp_benchmark"

echo "== the drivability checks and the fastest run on a 1000 km pair (added to check)"
"$tools/timetable_benchmark"

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
dquoted() { local out="" f; for f in "$@"; do out+=" \"$f\""; done; echo "$out"; }
fresh() { echo "bash -c 'rm -rf $work/t && mkdir $work/t$1'"; }

# The six files as they lie in the fresh directory after the copy.
copied_files=()
for f in "${run_files[@]}"; do copied_files+=("$work/t/$(basename "$f")"); done

echo "== whole process, side by side: $rounds rounds of hyperfine, $runs runs of each command a round"
# Every run starts in a fresh directory. The commands run one after the other
# within a round; the ratios are taken within each round and the median over
# the rounds is reported, which keeps a busy machine's drift out of them.
# run_unflushed is the same run on a disk that skips the flushes; run_sync
# flushes the six files of a copy just made, and their folder.
names=(run run_unflushed run_copy run_sync compile_1000000 compile_1000000_copy compile_100000)
for round in $(seq 1 "$rounds"); do
  hyperfine -N --style none --warmup 3 --runs "$runs" --export-json "$work/round_$round.json" \
    --prepare "$(fresh " && cp $exe $work/t/")" --command-name run "$work/t/lorvena_pf" \
    --prepare "$(fresh " && cp $tools/run_unflushed $work/t/")" --command-name run_unflushed "$work/t/run_unflushed" \
    --prepare "$(fresh '')" --command-name run_copy "cp$(quoted "${run_files[@]}") $work/t/" \
    --prepare "$(fresh " && cp$(dquoted "${run_files[@]}") $work/t/")" --command-name run_sync "sync$(quoted "${copied_files[@]}") $work/t" \
    --prepare "$(fresh " && cp $work/pair_1000000/* $work/t/")" --command-name compile_1000000 "$tools/compile_dir $work/t" \
    --prepare "$(fresh '')" --command-name compile_1000000_copy "cp$(quoted "${compiled_files[@]}") $work/t/" \
    --prepare "$(fresh " && cp $work/pair_100000/* $work/t/")" --command-name compile_100000 "$tools/compile_dir $work/t"
  jq -r --arg r "$round" '.results[] | [$r, .command, .median, .min, .user, .system] | @tsv' \
    "$work/round_$round.json" >>"$work/times.tsv"
done
printf '%-22s %12s %12s %12s %12s\n' command "median ms" "min ms" "user ms" "system ms"
for name in "${names[@]}"; do
  gawk -F'\t' -v n="$name" '$2 == n { m[++k] = $3; if (!lo || $4 < lo) lo = $4; u += $5; s += $6 }
    END { asort(m); printf "%-22s %12.2f %12.2f %12.2f %12.2f\n", n, 1000 * m[int((k + 1) / 2)], 1000 * lo, 1000 * u / k, 1000 * s / k }' \
    "$work/times.tsv"
done

echo "== peak memory (/usr/bin/time -v)"
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | gawk -F': ' '/Maximum resident set size/ {print $2}'; }
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

echo "== goals ($(nproc) cores, shared with other work; time ratios: median over the rounds of each round's ratio of medians)"
# The median over the rounds of (median of a) / (median of b).
ratio_of() {
  gawk -F'\t' -v a="$1" -v b="$2" '$2 == a { x[$1] = $3 } $2 == b { y[$1] = $3 }
    END { for (r in x) q[++k] = x[r] / y[r]; asort(q); print q[int((k + 1) / 2)] }' "$work/times.tsv"
}
goal() { # label value limit
  gawk -v l="$1" -v v="$2" -v m="$3" 'BEGIN { printf "%-50s %7.3f  (goal <= %s)  %s\n", l, v, m, (v <= m ? "met" : "MISSED") }'
}
# The same, against the sum of two commands' medians.
ratio_of_sum() {
  gawk -F'\t' -v a="$1" -v b="$2" -v c="$3" '$2 == a { x[$1] = $3 } $2 == b { y[$1] = $3 } $2 == c { z[$1] = $3 }
    END { for (r in x) q[++k] = x[r] / (y[r] + z[r]); asort(q); print q[int((k + 1) / 2)] }' "$work/times.tsv"
}
# The median over the rounds of (median of a) - (median of b), in ms.
difference_of() {
  gawk -F'\t' -v a="$1" -v b="$2" '$2 == a { x[$1] = $3 } $2 == b { y[$1] = $3 }
    END { for (r in x) q[++k] = 1000 * (x[r] - y[r]); asort(q); print q[int((k + 1) / 2)] }' "$work/times.tsv"
}
ratio() { gawk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }
goal "complete run / (copy + flush of its six files)" "$(ratio_of_sum run run_copy run_sync)" 1.2
goal "run without flushes / copy of its six files" "$(ratio_of run_unflushed run_copy)" 1.5
printf '%-50s %7.2f ms\n' "the run's flushes (run - run without flushes)" "$(difference_of run run_unflushed)"
printf '%-50s %7.2f ms\n' "the copy's flushes (sync of six files and folder)" "$(gawk -F'\t' '$2 == "run_sync" { m[++k] = $3 } END { asort(m); print 1000 * m[int((k + 1) / 2)] }' "$work/times.tsv")"
goal "compile 1000000 m / copy of its three files" "$(ratio_of compile_1000000 compile_1000000_copy)" 2
goal "compile 1000000 m / compile 100000 m" "$(ratio_of compile_1000000 compile_100000)" 12
memory_goal() { # label peak_kib bytes
  local limit; limit=$(gawk -v b="$3" -v e="$peak_empty" 'BEGIN { print 1.5 * b / 1024 + e }')
  goal "$1 (peak / allowed)" "$(ratio "$2" "$limit")" 1
}
memory_goal "complete run memory" "$peak_run" "$bytes_run"
memory_goal "compile 1000000 m memory" "$peak_compile" "$bytes_compile"
