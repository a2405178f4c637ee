#!/usr/bin/env bash
# Sets up, builds, writes the example pages and dumps each one as JSON.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
mkdir -p build/examples
build/make_examples build/examples
for page in build/examples/*.ps build/examples/*.s2; do
  [ -e "$page" ] || continue
  options=()
  if [ -f "$page.options" ]; then read -r -a options < "$page.options" || true; fi
  build/kestrum dump "$page" "${options[@]}" > "$page.json"
  echo "== $page -> $page.json"
  head -c 600 "$page.json"
  echo
done
