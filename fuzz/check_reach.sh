#!/bin/bash
# check_reach.sh FUZZ_SERVICE CORPUS: replays every seed of CORPUS once with
# QUARN_FUZZ_REACH set and fails, naming them, when some items the fuzzer
# wants (every message the server takes, every setting's value, every phase)
# no seed reaches.
set -euo pipefail
fuzzer=$1
corpus=$2
told=$(mktemp)
trap 'rm -f "$told"' EXIT
QUARN_FUZZ_REACH=1 "$fuzzer" "$corpus"/* 2>"$told" >/dev/null
missing=$(comm -23 <(sed -n 's/^want //p' "$told" | sort -u) \
                   <(sed -n 's/^reach //p' "$told" | sort -u))
wanted=$(grep -c '^want ' "$told")
if [ -n "$missing" ]; then
  echo "no seed in $corpus reaches:"
  echo "$missing"
  exit 1
fi
echo "the $(ls "$corpus" | wc -l) seeds reach all $wanted items"
