#!/usr/bin/env bash
# Groups that fan out: file k holds ten groups each showing file k + 1, the last file ten rectangles.
# Read whole (before sharing) that is 10^L nested documents at L levels; read once per file and
# shared, L + 1 files, within the budget of nested documents and objects.
#
#   bench/nested_fanout.sh [LEVELS...]      (default: 4 5 6)
#
# For each depth it times `lorvane-cli info` and `export` (1000 x 200) RUNS times (default 3) and
# prints the medians of wall seconds and of peak resident memory.
# Environment: LORVANE_CLI (the tool; default: the newest build's), RUNS.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
levels=("$@")
[ ${#levels[@]} -gt 0 ] || levels=(4 5 6)
runs=${RUNS:-3}
cli=${LORVANE_CLI:-}
[ -n "$cli" ] || cli=$(ls -t "$here"/build*/src/cli/lorvane-cli 2>/dev/null | head -1 || true)
[ -x "$cli" ] || { echo "no lorvane-cli: build it or set LORVANE_CLI" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_files() {  # LEVELS FOLDER
  python3 - "$1" "$2" <<'PY'
import os, sys
levels, out = int(sys.argv[1]), sys.argv[2]
os.makedirs(out, exist_ok=True)
for k in range(levels + 1):
    lines = ["Large=100", "Haut=20", "", "Face=1"]
    for i in range(10):
        lines += ["  Objet=%d" % (i + 1), "    x=%d" % (5 + 10 * i), "    y=10", "    l=9", "    h=9"]
        if k < levels:
            lines += ["    Name=groupe", "    FichierMdl=" + os.path.join(out, "f%d.mdl" % (k + 1))]
        else:
            lines += ["    Name=rectangle"]
        lines += ["  End", "  "]
    lines += ["End", ""]
    with open(os.path.join(out, "f%d.mdl" % k), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
PY
}

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

measure() {  # label command...
  local label=$1; shift
  local walls=() mems=()
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %M' -o "$work/t" "$@" >/dev/null 2>&1 || true
    read -r wall mem <"$work/t"
    walls+=("$wall"); mems+=("$mem")
  done
  printf '%-28s %8s s %10s KB\n' "$label" "$(printf '%s\n' "${walls[@]}" | median)" \
    "$(printf '%s\n' "${mems[@]}" | median)"
}

echo "lorvane-cli: $cli, $runs runs, medians"
for n in "${levels[@]}"; do
  make_files "$n" "$work/l$n"
  measure "info, $n levels" "$cli" info "$work/l$n/f0.mdl"
  measure "export, $n levels" "$cli" export "$work/l$n/f0.mdl" "$work/out.png" 1000 200
done
