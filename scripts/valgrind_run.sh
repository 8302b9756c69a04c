#!/usr/bin/env bash
# Runs the program (its path is $1) under valgrind in a fresh directory: no
# memory error, no leak, a normal end and the six files of the scenario.
set -euo pipefail
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$1" "$dir/lorvena_pf"
valgrind -q --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect,possible \
  "$dir/lorvena_pf"
count=$(find "$dir" -type f ! -name lorvena_pf | wc -l)
[ "$count" -eq 6 ] || { echo "expected 6 files, found $count"; ls -l "$dir"; exit 1; }
