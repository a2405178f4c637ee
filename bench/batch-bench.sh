#!/usr/bin/env bash
# Pages per second of `kestrum batch` over a folder of PAGES pages (default 200),
# copies of the example pages in folders of fifty, with one worker and with two.
#   bash bench/batch-bench.sh [BUILD_DIR] [PAGE_FOLDER]
# PAGE_FOLDER, when given, holds the pages to copy (.ps and .s2 with what they need
# beside them); else build/make_examples writes them.
set -euo pipefail
build=${1:-build}
pages=${PAGES:-200}
tmp=$(mktemp -d /tmp/kestrum-batch-bench-XXXXXX)
trap 'rm -rf "$tmp"' EXIT

examples=${2:-$tmp/examples}
if [ -z "${2:-}" ]; then
  mkdir -p "$examples"
  "$build/make_examples" "$examples"
fi
mapfile -t sources < <(find "$examples" -maxdepth 1 -type f \( -name '*.ps' -o -name '*.s2' \) | sort)
[ ${#sources[@]} -gt 0 ] || { echo "batch-bench: no pages in $examples" >&2; exit 1; }
for ((i = 0; i < pages; i++)); do
  source=${sources[i % ${#sources[@]}]}
  folder=$tmp/pages/$((i / 50))
  mkdir -p "$folder"
  cp "$source" "$folder/p$i.${source##*.}"
done
echo "batch-bench: $pages pages from ${#sources[@]} in $examples, $(nproc) cores"

declare -A rate
for jobs in 1 2; do
  "$build/kestrum" batch "$tmp/pages" --out "$tmp/out-$jobs" --jobs "$jobs" --image-folders "$examples" \
    2>"$tmp/err-$jobs" || true
  summary=$(tail -n 1 "$tmp/err-$jobs")
  echo "--jobs $jobs: $summary"
  rate[$jobs]=$(sed -E 's/.*\(([0-9.]+) pages\/s\)$/\1/' <<<"$summary")
done
awk -v one="${rate[1]}" -v two="${rate[2]}" 'BEGIN { printf "batch-bench: --jobs 2 runs %.2f times the pages per second of --jobs 1\n", two / one }'
