#!/usr/bin/env bash
# Cold start of the windowed program: from launching the process to the first painted catalogue
# window, on the shipped installation, under a virtual X server (the platform a desktop uses) and
# with the offscreen platform. Prints each run and the median of five.
# Usage: bench/cold_start.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
program="$build/src/app/lorvane"
[ -x "$program" ] || { echo "build the program first: $program" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Its own per-user folders, so previews and settings of the person running it are left alone; the
# shipped previews are complete, so no preview is made during the run.
mkdir -p "$work/home"
ln -s "$root/data/donnees" "$work/home/donnees"
cp "$root/data/lorvane.ini" "$root/data/lorvane.tra" "$root/data/logo.bmp" "$work/home/"
export XDG_DATA_HOME="$work/xdg/data" XDG_CACHE_HOME="$work/xdg/cache" XDG_CONFIG_HOME="$work/xdg/config"
cat > "$work/runs.sh" <<SCRIPT
#!/usr/bin/env bash
for i in 1 2 3 4 5; do
  LORVANE_BENCH_T0=\$(date +%s%N) timeout 60 "$program" --home "$work/home" 2>&1 | grep -o 'first paint: [0-9.]* ms' | grep -o '[0-9.]*'
done
SCRIPT
chmod +x "$work/runs.sh"
report() {
  local label="$1"; shift
  # Through a file: xvfb-run does not start its server inside a process substitution.
  "$@" > "$work/times" 2>/dev/null </dev/null
  mapfile -t times < "$work/times"
  printf '%s: runs %s ms; median %s ms\n' "$label" "${times[*]}" \
    "$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)"
}
report "xcb (Xvfb)" xvfb-run -a -s '-screen 0 1600x1000x24' env QT_QPA_PLATFORM=xcb "$work/runs.sh"
report "offscreen" env QT_QPA_PLATFORM=offscreen "$work/runs.sh"
