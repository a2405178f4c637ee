#!/usr/bin/env bash
# Installs the build into a temporary prefix, builds the tiny host against it once
# through pkg-config and once through the CMake package, runs both on an example page
# and checks them against the installed kestrum's own batch report, and checks the
# man page.
#   install-test.sh BUILD_DIR MAKE_EXAMPLES
set -euo pipefail
build=$1
make_examples=$2
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d /tmp/kestrum-install-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

fail() { echo "install-test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log" >&2; fail "install failed"; }
for f in include/kestrum/kestrum.h bin/kestrum share/man/man1/kestrum.1; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
libdir=$(dirname "$(find "$prefix" -name libkestrum.so -print -quit)")
[ -n "$libdir" ] && [ "$libdir" != . ] || fail "libkestrum.so not installed"

# The man page has a section for each command the program lists.
for command in dump render dib view batch; do
  grep -q "^\.SS $command\$" "$prefix/share/man/man1/kestrum.1" || fail "the man page lacks $command"
done
if command -v man >/dev/null; then
  man -l "$prefix/share/man/man1/kestrum.1" 2>&1 | grep -q "kestrum batch" || fail "the man page does not read"
fi

# Through pkg-config.
export PKG_CONFIG_PATH=$libdir/pkgconfig
g++ -std=c++17 -Wall -Wextra -Werror "$here/host.cpp" -o "$tmp/host-pc" $(pkg-config --cflags --libs kestrum) \
  -Wl,-rpath,"$(pkg-config --variable=libdir kestrum)" || fail "the host does not build through pkg-config"

# Through the CMake package.
cmake -S "$here" -B "$tmp/host-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >"$tmp/cmake.log" \
  || { cat "$tmp/cmake.log" >&2; fail "find_package(Kestrum) failed"; }
cmake --build "$tmp/host-build" >"$tmp/build.log" || { cat "$tmp/build.log" >&2; fail "the host does not build through CMake"; }

# Both hosts, run on an example page, count what the installed command-line host counts;
# the installed program finds its library without the build tree.
mkdir "$tmp/pages"
"$make_examples" "$tmp/pages"
page=$(find "$tmp/pages" -name '*.ps' -print | sort | head -n 1)
[ -n "$page" ] || fail "no example page"
(cd / && env -u LD_LIBRARY_PATH "$prefix/bin/kestrum" batch "$page" --out "$tmp/out" --jobs 1 2>/dev/null) \
  || fail "the installed kestrum batch failed"
expected=$(sed -E 's/.*"blocks":([0-9]+),"pictures":([0-9]+),"articles":([0-9]+).*/blocks \1 pictures \2 articles \3/' "$tmp/out/report.jsonl")
for host in "$tmp/host-pc" "$tmp/host-build/host"; do
  got=$("$host" "$page") || fail "$host failed on $page"
  [ "$got" = "$expected" ] || fail "$host printed '$got', the report has '$expected'"
done
case $expected in "blocks 0 "*) fail "the example page has no text blocks";; esac
echo "install-test: installed, built both ways and run: $expected"
