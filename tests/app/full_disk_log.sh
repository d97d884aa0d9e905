#!/usr/bin/env bash
# A log on a full volume (a 64 KB tmpfs) never glues two lines: runs append
# until it is full, then once more after room is made; every line is whole.
# Mounting needs root: where it is refused, the test is skipped (exit code 77).
#   full_disk_log.sh VELBROOK_EXE
set -uo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/lib.sh"
dir=$(mktemp -d)
mount -t tmpfs -o size=64k tmpfs "$dir" 2>/dev/null || { rmdir "$dir"; exit 77; }
trap 'umount "$dir"; rmdir "$dir"' EXIT
velbrook_ensure_prefix
head -c 60000 /dev/zero >"$dir/fill"
log=$(winepath -w "$dir/run.log")
run() { "$VELBROOK_ROOT/scripts/wine-run" "$1" -quiet -check default "-log:$log" 2>&1 >/dev/null; }
refused=0
for _ in $(seq 1 200); do
    [[ "$(run "$1")" == *"Cannot write to the log file"* ]] && refused=$((refused + 1))
    [ "$refused" -ge 3 ] && break
done
rm "$dir/fill"
run "$1" >/dev/null
bad=$(awk -F'\t' '!/\r$/ || NF != 6' "$dir/run.log")
[ "$refused" -gt 0 ] && [ -z "$bad" ] && echo "1 passed, 0 failed" && exit 0
echo "FAILED: $refused appends refused; lines not whole: ${bad:0:300}" >&2
exit 1
