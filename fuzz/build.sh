#!/usr/bin/env bash
# Configures and builds the libFuzzer harnesses with clang in the given directory.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
cd "$VELBROOK_ROOT"
dir=${1:-build/fuzz}
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DVELBROOK_FUZZ=ON -DVELBROOK_TESTS=OFF >/dev/null || exit 1
targets=$(cmake --build "$dir" --target help | sed -n 's/^\.\.\. \(fuzz_[a-z_]*\).*/\1/p')
[ -n "$targets" ] || { echo "no fuzz harness configured yet"; exit 0; }
for target in $targets; do
    cmake --build "$dir" -j "$jobs" --target "$target" || exit 1
done
