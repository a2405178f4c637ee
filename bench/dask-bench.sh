#!/usr/bin/env bash
# The Python module's read of a page beside the command line's whole process for it, and
# a Dask run over 200 pages on two local workers beside kestrum batch --jobs 2.
# Usage: bench/dask-bench.sh [BUILD]   (default build/)
set -euo pipefail
build=${1:-build}
python=/usr/bin/python3
export PYTHONPATH=$build/python
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/examples"
"$build/make_examples" "$work/examples" >/dev/null
page=$work/examples/front-page.ps
rounds=200

"$python" - "$page" "$build/kestrum" "$rounds" <<'PY'
import subprocess, sys, time
import kestrum
page, cli, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
kestrum.read(page)
start = time.perf_counter()
for _ in range(rounds):
    kestrum.read(page)
module = (time.perf_counter() - start) / rounds
start = time.perf_counter()
for _ in range(rounds):
    subprocess.run([cli, "dump", page], stdout=subprocess.DEVNULL, check=True)
process = (time.perf_counter() - start) / rounds
print(f"kestrum.read {module * 1000:.2f} ms, kestrum dump (whole process) {process * 1000:.2f} ms: "
      f"{module / process:.2f} x")
PY

# 200 pages: the example pages copied into folders of their own.
for i in $(seq -w 1 67); do
  mkdir -p "$work/archive/$i"
  cp "$work/examples/"*.ps "$work/examples/"*.s2 "$work/archive/$i/"
done
rate() { grep -o '([0-9.]* pages/s)' | tr -d '(' | cut -d' ' -f1; }
dask_rate=$("$python" -m kestrum.dask local --workers 2 --format json --out "$work/dask" "$work/archive" 2>&1 | rate)
echo "kestrum.dask, 2 local workers: $dask_rate pages/s"
batch_rate=$("$build/kestrum" batch --jobs 2 --format json --out "$work/batch" "$work/archive" 2>&1 | rate)
echo "kestrum batch --jobs 2: $batch_rate pages/s"
"$python" -c "import sys; print(f'dask/batch: {float(sys.argv[1]) / float(sys.argv[2]) * 100:.0f} %')" "$dask_rate" "$batch_rate"
