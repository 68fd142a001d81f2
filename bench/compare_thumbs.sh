#!/usr/bin/env bash
# Thumbnails of 4000 x 3000 JPEG photos into a 120 x 120 box: MakeThumb (many pictures in one
# process, bench_thumb) side by side with ImageMagick (/usr/bin/convert -filter Mitchell -resize
# 120x120, one process per picture) and vipsthumbnail (one process for all pictures, and one per
# picture), on the same files in the same run. Prints per-picture medians over the rounds and ratios.
#
# Usage: bench/compare_thumbs.sh [BUILD_DIR]
# Environment: PHOTOS (default 12), ROUNDS (default 5), BENCH_WORK (photos and outputs; default
# ~/.cache/lorvane-bench-thumbs, the photos are made once and kept).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
count="${PHOTOS:-12}"
rounds="${ROUNDS:-5}"
work="${BENCH_WORK:-${XDG_CACHE_HOME:-$HOME/.cache}/lorvane-bench-thumbs}"
convert=/usr/bin/convert  # another "convert" may come first on the PATH

# The peers come from Debian; they are benchmark tools only, never needed by the build or the tests.
missing=()
"$convert" -version 2>/dev/null | grep -q ImageMagick || missing+=(imagemagick)
command -v vipsthumbnail >/dev/null || missing+=(libvips-tools)
if ((${#missing[@]})); then
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  echo "installing ${missing[*]}" >&2
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
fi

bench="$build/bench/bench_thumb"
cli="$build/src/cli/lorvane-cli"
cmake --build "$build" -j2 --target bench_thumb lorvane-cli >&2 ||
  { [[ -x $bench && -x $cli ]] && echo "build failed; timing the programs already built" >&2; }

photos="$work/photos"
mkdir -p "$photos"
for ((i = 1; i <= count; i++)); do
  f="$photos/photo$(printf %02d "$i").jpg"
  # A plasma fractal: photo-like detail and a camera's file size (about 3 MB at quality 92, 4:2:0).
  [[ -s $f ]] || { echo "making $f" >&2; "$convert" -seed "$i" -size 4000x3000 plasma:fractal \
                     -sampling-factor 2x2 -quality 92 "$f"; }
done
mapfile -t files < <(find "$photos" -maxdepth 1 -name 'photo*.jpg' | sort | head -n "$count")
n=${#files[@]}

out="$work/out"
rm -rf "$out"
mkdir -p "$out"/{lorvane,cli,magick,vips,vips1,vipsproc}

now() { date +%s%N; }
# Per-picture milliseconds of a command run once over all the files.
per_picture() {  # start_ns end_ns
  awk -v a="$1" -v b="$2" -v n="$n" 'BEGIN { printf "%.2f", (b - a) / 1e6 / n }'
}

declare -A results
add() { results[$1]+="$2 "; }

cat "${files[@]}" >/dev/null  # every tool reads from the page cache

for ((r = 1; r <= rounds; r++)); do
  echo "round $r of $rounds" >&2
  # MakeThumb: one picture per benchmark iteration, cycling over the files; the time is per picture.
  t=$(LORVANE_THUMB_PHOTOS="$photos" LORVANE_THUMB_OUT="$out/lorvane" "$bench" \
        --benchmark_filter='^BM_MakeThumb' --benchmark_min_time=1 --benchmark_format=csv 2>/dev/null |
      awk -F, '/BM_MakeThumb/ { printf "%.2f", $3 }')
  add lorvane "$t"

  a=$(now)
  for f in "${files[@]}"; do "$cli" thumb "$f" "$out/cli" 120 120 >/dev/null; done
  add cli "$(per_picture "$a" "$(now)")"

  a=$(now)
  for f in "${files[@]}"; do
    "$convert" "$f" -filter Mitchell -resize 120x120 "$out/magick/$(basename "${f%.*}")_thumb.jpg"
  done
  add magick "$(per_picture "$a" "$(now)")"

  a=$(now)
  vipsthumbnail -s 120x120 -o "$out/vips/%s_thumb.jpg" "${files[@]}"
  add vips "$(per_picture "$a" "$(now)")"

  a=$(now)
  VIPS_CONCURRENCY=1 vipsthumbnail -s 120x120 -o "$out/vips1/%s_thumb.jpg" "${files[@]}"
  add vips1 "$(per_picture "$a" "$(now)")"

  a=$(now)
  for f in "${files[@]}"; do vipsthumbnail -s 120x120 -o "$out/vipsproc/%s_thumb.jpg" "$f"; done
  add vipsproc "$(per_picture "$a" "$(now)")"
done

median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Every tool must have made every thumbnail, at the same size.
for d in lorvane cli magick vips vips1 vipsproc; do
  made=$(find "$out/$d" -name '*_thumb.jpg' | wc -l)
  [[ $made -eq $n ]] || { echo "$d made $made thumbnails of $n" >&2; exit 1; }
done
sizes=$(for d in lorvane magick vips; do "$convert" "$out/$d/$(basename "${files[0]%.*}")_thumb.jpg" -format '%wx%h ' info:; done)

base=$(median "${results[lorvane]}")
echo
echo "$n photos 4000 x 3000 ($(du -ch "${files[@]}" | tail -1 | cut -f1) in all), box 120 x 120, $rounds rounds; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "thumbnail sizes (lorvane, ImageMagick, vips): $sizes"
echo "ImageMagick: $("$convert" -version | head -1 | cut -d' ' -f2-3); vips: $(vipsthumbnail --version 2>/dev/null | head -1)"
printf '%-58s %10s %12s  %s\n' "tool" "ms/picture" "x MakeThumb" "rounds (ms/picture)"
row() {  # key label
  local m
  m=$(median "${results[$1]}")
  printf '%-58s %10s %12s  %s\n' "$2" "$m" "$(awk -v a="$m" -v b="$base" 'BEGIN { printf "%.2f", a / b }')" "${results[$1]}"
}
row lorvane "MakeThumb, one process (bench_thumb)"
row cli "lorvane-cli thumb, one process per picture"
row magick "ImageMagick convert -filter Mitchell -resize, per picture"
row vips "vipsthumbnail, one process for all pictures"
row vips1 "vipsthumbnail, one process, VIPS_CONCURRENCY=1"
row vipsproc "vipsthumbnail, one process per picture"
