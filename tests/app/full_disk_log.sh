#!/usr/bin/env bash
# A log on a full volume never glues two lines: runs of velbrook.exe append to
# a log on a 64 KB tmpfs until it is full, then once more after room is made;
# every line in the log is whole (six fields, CR LF).
#   full_disk_log.sh VELBROOK_EXE
# Mounting needs root; where it is refused the test is skipped (exit code 77).
set -uo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/lib.sh"
exe=$1
dir=$(mktemp -d)
if ! mount -t tmpfs -o size=64k tmpfs "$dir" 2>/dev/null; then
    echo "no tmpfs can be mounted here"
    rmdir "$dir"
    exit 77
fi
trap 'umount "$dir"; rmdir "$dir"' EXIT
velbrook_ensure_prefix
head -c 60000 /dev/zero >"$dir/fill"
log=$(winepath -w "$dir/run.log")
run() { "$VELBROOK_ROOT/scripts/wine-run" "$exe" -quiet -check default "-log:$log" 2>&1 >/dev/null; }
refused=0
for _ in $(seq 1 200); do
    [[ "$(run)" == *"Cannot write to the log file"* ]] && refused=$((refused + 1))
    [ "$refused" -ge 3 ] && break
done
rm "$dir/fill"
run >/dev/null
bad=$(awk -F'\t' '!/\r$/ || NF != 6' "$dir/run.log")
lines=$(wc -l <"$dir/run.log")
if [ "$refused" -eq 0 ] || [ -n "$bad" ]; then
    echo "FAILED: $refused refused appends, $lines lines; not whole:" >&2
    printf '%s\n' "$bad" | head -3 >&2
    exit 1
fi
echo "1 passed, 0 failed: $lines whole lines, $refused appends refused on the full volume"
