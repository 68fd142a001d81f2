#!/usr/bin/env bash
# Whole-process reading and saving of large documents through lorvane-cli: start-up, installation,
# reading, writing and exit included, as a user meets them.
#
#   bench/whole_process_mdl.sh [COUNTS...]      (default: 100000 200000)
#
# For each count of rectangles it makes a document, then times `lorvane-cli info` and `resave`
# RUNS times (default 5) and prints the medians of wall and CPU seconds and of the peak resident
# memory, with the memory per object. It then counts the system calls of `info` at two sizes with
# strace: the difference divided by the difference in objects is the system calls per object.
# Environment: LORVANE_CLI (the tool; default: the newest build's), RUNS.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(100000 200000)
runs=${RUNS:-5}

cli=${LORVANE_CLI:-}
if [ -z "$cli" ]; then
  cli=$(ls -t "$here"/build*/src/cli/lorvane-cli 2>/dev/null | head -1 || true)
fi
[ -x "$cli" ] || { echo "no lorvane-cli: build it or set LORVANE_CLI" >&2; exit 2; }

need() {
  command -v "$1" >/dev/null 2>&1 && return
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    apt-get install -y -qq "$2" >/dev/null || { apt-get update -qq && apt-get install -y -qq "$2" >/dev/null; }
  fi
  command -v "$1" >/dev/null 2>&1 || { echo "needs $1 (Debian package $2)" >&2; exit 2; }
}
need /usr/bin/time time
need strace strace
need python3 python3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A document of N rectangles, as the program writes them.
make_doc() {
  python3 - "$1" "$2" <<'EOF'
import sys
n, out = int(sys.argv[1]), sys.argv[2]
with open(out, "w", encoding="cp1252", newline="\r\n") as f:
    f.write("Version=1.2\nLarge=210\nHaut=297\n\nFace=1\n")
    for i in range(n):
        f.write("  Objet=%d\n    Name=rectangle\n    Face=1\n    CanSelect=1\n    Pen=804000,500,0\n"
                "    Brush=F0E0C0,0\n    x=%d,25\n    y=%d,5\n    l=10,125\n    h=5,5\n    r=0\n    Cote=4\n"
                "  End\n  \n" % (i + 1, i % 200, i % 280))
    f.write("End\n\n")
EOF
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# Times a command RUNS times; prints median wall s, median cpu s, median peak MB.
measure() {
  : >"$work/times"
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S %M" -o "$work/t" "$@" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
    cat "$work/t" >>"$work/times"
  done
  wall=$(awk '{print $1}' "$work/times" | median)
  cpu=$(awk '{print $2 + $3}' "$work/times" | median)
  peak=$(awk '{print $4}' "$work/times" | median)
  echo "$wall $cpu $peak"
}

echo "lorvane-cli: $cli"
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); medians of $runs runs"
printf "%9s %-7s %8s %8s %9s %12s\n" objects verb wall_s cpu_s peak_MB bytes/object
for n in "${counts[@]}"; do
  make_doc "$n" "$work/doc.mdl"
  for verb in info resave; do
    if [ "$verb" = info ]; then set -- "$cli" info "$work/doc.mdl"; else set -- "$cli" resave "$work/doc.mdl" "$work/out.mdl"; fi
    read -r wall cpu peak < <(measure "$@")
    awk -v n="$n" -v verb="$verb" -v wall="$wall" -v cpu="$cpu" -v peak="$peak" \
      'BEGIN {printf "%9d %-7s %8.2f %8.2f %9.1f %12.0f\n", n, verb, wall, cpu, peak / 1024, peak * 1024 / n}'
  done
done

# System calls per object: two sizes, the difference of their totals.
small=10000
large=${counts[0]}
[ "$large" -gt "$small" ] || large=$((small * 10))
calls() {
  make_doc "$1" "$work/s.mdl"
  strace -f -c -o "$work/strace" "$cli" info "$work/s.mdl" >/dev/null
  awk '$NF == "total" {print $4}' "$work/strace"
}
a=$(calls "$small")
b=$(calls "$large")
awk -v a="$a" -v b="$b" -v s="$small" -v l="$large" \
  'BEGIN {printf "system calls of info: %d at %d objects, %d at %d objects: %.4f per object\n", a, s, b, l, (b - a) / (l - s)}'
