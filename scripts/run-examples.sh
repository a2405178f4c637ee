#!/usr/bin/env bash
# Sets up, builds, writes the example pages and exports each one: JSON, PAGE XML,
# ALTO with its METS file, and the HTML view; every XML file is checked against the
# schemas when a copy of shared/ lies beside the repository; then a batch over the
# folder prints its summary and report.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
mkdir -p build/examples
build/make_examples build/examples
schemas=../shared/schemas
for page in build/examples/*.ps build/examples/*.s2; do
  [ -e "$page" ] || continue
  options=()
  if [ -f "$page.options" ]; then read -r -a options < "$page.options" || true; fi
  build/kestrum dump "$page" "${options[@]}" -o "$page.json"
  build/kestrum dump "$page" "${options[@]}" --format page -o "$page.page.xml"
  build/kestrum dump "$page" "${options[@]}" --format alto -o "$page.alto.xml" --mets "$page.mets.xml"
  build/kestrum view "$page" "$page.html" "${options[@]}"
  echo "== $page -> .json .page.xml .alto.xml .mets.xml .html"
  if [ -d "$schemas" ]; then
    xmllint --noout --nonet --schema "$schemas/pagecontent-2019-07-15.xsd" "$page.page.xml"
    xmllint --noout --nonet --schema "$schemas/alto-4-4.xsd" "$page.alto.xml"
    xmllint --noout --nonet --schema "$schemas/mets-1.12.1.xsd" "$page.mets.xml"
  fi
  head -c 400 "$page.json"
  echo
done
# The whole folder at once, as an archive run: one JSON file per page and the report.
set +e
build/kestrum batch build/examples --out build/examples-batch --format json --image-folders build/examples
status=$?
set -e
cat build/examples-batch/report.jsonl
[ "$status" -eq 0 ]
