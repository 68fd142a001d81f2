#!/usr/bin/env bash
# A mailing printed to PDF through lorvane-cli: an A4 sheet of 21 address labels (the shipped layout
# "A4 21 étiquettes 70 x 42,3"), one CSV record per label, sheet after sheet. Whole process as a user
# meets it: start-up, installation, reading the records, drawing and writing the PDF.
#
#   bench/print_records.sh [COUNTS...]      (default: 100 1000 10000)
#
# For each count of records it times `lorvane-cli print --records` RUNS times (default 5) and prints
# the medians of wall and CPU seconds and of the peak resident memory; memory that does not grow with
# the count shows the records are streamed. Environment: LORVANE_CLI (the tool; default: the newest
# build's), RUNS.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(100 1000 10000)
runs=${RUNS:-5}

cli=${LORVANE_CLI:-}
if [ -z "$cli" ]; then
  cli=$(ls -t "$here"/build*/src/cli/lorvane-cli 2>/dev/null | head -1 || true)
fi
[ -x "$cli" ] || { echo "no lorvane-cli: build it or set LORVANE_CLI" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }
command -v python3 >/dev/null || { echo "needs python3" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A user folder of its own, so stored settings of the machine's user play no part.
export XDG_DATA_HOME="$work/user"

# The label: four centred lines of merge fields, 4.5 mm high.
python3 - "$work/adresse.mdl" <<'EOF'
import sys
lines = ["<Civilite> <Prenom> <Nom>", "<Adresse>", "<CodePostal> <Ville>", "<Pays>"]
with open(sys.argv[1], "w", encoding="cp1252", newline="\r\n") as f:
    f.write("Version=1.2\nLarge=70\nHaut=42,3\n\nFace=1\n")
    for i, text in enumerate(lines):
        f.write("  Objet=%d\n    Name=texte\n    Face=1\n    CanSelect=1\n    Pen=000000,1,0\n"
                "    Brush=FFFFFF,1\n    x=35\n    y=%d\n    l=0\n    h=0\n    r=0\n"
                "    Font=000000,Arial,4500,\n    Aligne=0\n    Alignement=0\n    txt=%s\n  End\n  \n"
                % (i + 1, 8 + 8 * i, text))
    f.write("End\n\n")
EOF

make_records() {
  python3 - "$1" "$2" <<'EOF'
import sys
n, out = int(sys.argv[1]), sys.argv[2]
with open(out, "w", encoding="utf-8", newline="\r\n") as f:
    f.write("Civilite;Prenom;Nom;Adresse;CodePostal;Ville;Pays\n")
    for i in range(n):
        f.write("Mme;Hélène%d;Durand%d;%d rue des Tilleuls;%05d;Ville%d;France\n" % (i, i, i % 300, 1000 + i % 90000, i % 700))
EOF
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

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
printf "%8s %7s %8s %8s %9s %10s\n" records sheets wall_s cpu_s peak_MB pdf_KB
for n in "${counts[@]}"; do
  make_records "$n" "$work/records.csv"
  read -r wall cpu peak < <(measure "$cli" print "$work/adresse.mdl" --pdf "$work/out.pdf" \
    --layout "A4 21 étiquettes 70 x 42,3" --records "$work/records.csv")
  sheets=$(( (n + 20) / 21 ))
  size=$(( $(stat -c %s "$work/out.pdf") / 1024 ))
  awk -v n="$n" -v s="$sheets" -v wall="$wall" -v cpu="$cpu" -v peak="$peak" -v size="$size" \
    'BEGIN {printf "%8d %7d %8.2f %8.2f %9.1f %10d\n", n, s, wall, cpu, peak / 1024, size}'
done
