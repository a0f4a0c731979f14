#!/bin/bash
# keep_service_seeds.sh FUZZ_SERVICE GROWN: minimizes fuzz/corpus_service
# together with what a campaign grew in GROWN. The hand-made seeds (named in
# words) stay whole; the others are merged anew (-merge=1, edges without hit
# counts), so that only inputs that reach an edge the rest does not are kept.
# Then the kept seeds must still reach every message, setting and phase
# (check_reach.sh).
set -euo pipefail
fuzzer=$(realpath "$1")
grown=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
corpus=$here/corpus_service
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/kept" "$scratch/found"
for seed in "$corpus"/*; do
  if [[ $(basename "$seed") =~ ^[0-9a-f]{40}$ ]]; then
    cp "$seed" "$scratch/found/"
  else
    cp "$seed" "$scratch/kept/"
  fi
done
(cd "$scratch" && "$fuzzer" -merge=1 -use_counters=0 -max_len=4096 kept found "$grown" 2>&1 | tail -n 2)
bash "$here/check_reach.sh" "$fuzzer" "$scratch/kept"
rm -f "$corpus"/*
cp "$scratch/kept"/* "$corpus/"
echo "fuzz/corpus_service: $(ls "$corpus" | wc -l) seeds"
