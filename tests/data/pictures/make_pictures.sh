#!/usr/bin/env bash
# Regenerates the picture fixtures from the small source pictures beside this script. Needs
# ImageMagick (/usr/bin/convert) and python3; the tests only read the files made here.
set -euo pipefail
cd "$(dirname "$0")"
IM=/usr/bin/convert
# Keep time stamps out so that regenerating gives the same files.
PNG=(-define png:exclude-chunk=date,time)
# Without a background chunk the two-colour palette fits in one bit.
PNG1=(-define png:exclude-chunk=date,time,bKGD)

# grad.ppm: 61 x 37, r = 4x, g = 7y, b = 2x + 3y; grad64.ppm: the same reduced to 64 colours;
# grad_gray.pgm: its grey version.
python3 - <<'PY'
w, h = 61, 37
px = bytearray()
for y in range(h):
    for x in range(w):
        px += bytes((4 * x, 7 * y, 2 * x + 3 * y))
open("grad.ppm", "wb").write(b"P6\n%d %d\n255\n" % (w, h) + px)
PY
$IM grad.ppm +dither -colors 64 grad64.ppm
$IM grad.ppm -colorspace Gray grad_gray.pgm

# PNG: every colour type and bit depth.
$IM bw.pgm   "${PNG[@]}" -define png:color-type=0 -define png:bit-depth=1 png_gray1.png
for d in 2 4 8 16; do
  $IM gray.pgm "${PNG[@]}" -define png:color-type=0 -define png:bit-depth=$d png_gray$d.png
done
for d in 8 16; do
  $IM rgb.ppm  "${PNG[@]}" -define png:color-type=2 -define png:bit-depth=$d png_rgb$d.png
  $IM ga.pam   "${PNG[@]}" -define png:color-type=4 -define png:bit-depth=$d png_graya$d.png
  $IM rgba.pam "${PNG[@]}" -define png:color-type=6 -define png:bit-depth=$d png_rgba$d.png
done
for d in 1 2; do
  $IM two.ppm "${PNG1[@]}" -define png:color-type=3 -define png:bit-depth=$d png_pal$d.png
done
for d in 4 8; do
  $IM rgb.ppm "${PNG[@]}" -define png:color-type=3 -define png:bit-depth=$d png_pal$d.png
done
# One transparent colour (tRNS) for grey, RGB and palette pictures.
$IM gkey.pam "${PNG[@]}" -define png:color-type=0 -define png:bit-depth=8 png_gray_trns.png
$IM key.pam  "${PNG[@]}" -define png:color-type=2 -define png:bit-depth=8 png_rgb_trns.png
$IM key.pam  "${PNG[@]}" PNG8:png_pal_trns.png
# Adam7 interlacing.
$IM grad.ppm "${PNG[@]}" -interlace PNG -define png:color-type=2 -define png:bit-depth=8 png_rgb8_interlaced.png
$IM rgba.pam "${PNG[@]}" -interlace PNG -define png:color-type=6 -define png:bit-depth=8 png_rgba8_interlaced.png
# A palette with partial alpha (tRNS with one alpha per entry), written directly.
python3 - <<'PY'
import struct, zlib
def chunk(t, body):
    return struct.pack(">I", len(body)) + t + body + struct.pack(">I", zlib.crc32(t + body))
rgba = open("rgba.pam", "rb").read().split(b"ENDHDR\n", 1)[1]
pixels = [rgba[i:i + 4] for i in range(0, len(rgba), 4)]
palette = sorted(set(pixels))
rows = b"".join(b"\0" + bytes(palette.index(p) for p in pixels[y * 4:y * 4 + 4]) for y in range(2))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 2, 8, 3, 0, 0, 0))
png += chunk(b"PLTE", b"".join(p[:3] for p in palette)) + chunk(b"tRNS", bytes(p[3] for p in palette))
png += chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")
open("png_pal_alpha.png", "wb").write(png)
PY

# JPEG: baseline 4:2:0 and 4:4:4, grey, progressive, CMYK (Adobe, inverted).
$IM -size 16x16 'xc:rgb(200,30,40)' -size 16x16 'xc:rgb(20,120,220)' +append \
    -sampling-factor 2x2 jpeg_blocks.jpg
$IM grad.ppm -sampling-factor 2x2 jpeg_grad420.jpg
$IM grad.ppm -sampling-factor 1x1 -quality 95 jpeg_grad444.jpg
$IM grad.ppm -interlace JPEG jpeg_progressive.jpg
$IM grad_gray.pgm jpeg_gray.jpg
$IM -size 16x16 'xc:rgb(200,30,40)' -size 16x16 'xc:rgb(20,120,220)' +append \
    -colorspace CMYK jpeg_cmyk.jpg

# BMP: Windows 3 headers, V5 headers with bit fields, OS/2 headers, RLE8.
$IM rgb.ppm BMP3:bmp_rgb24.bmp
$IM rgb.ppm BMP:bmp_v5_rgb24.bmp
$IM two.ppm -type Palette BMP3:bmp_pal1.bmp
$IM rgb.ppm -type Palette BMP3:bmp_pal4.bmp
$IM grad64.ppm -type Palette -compress None BMP3:bmp_pal8.bmp
$IM grad64.ppm -type Palette -compress RLE BMP3:bmp_rle8.bmp
$IM rgb.ppm -define bmp:subtype=RGB555 BMP:bmp_rgb555.bmp
$IM rgb.ppm -define bmp:subtype=RGB565 BMP:bmp_rgb565.bmp
$IM rgba.pam -define bmp:subtype=ARGB8888 BMP:bmp_argb32.bmp
$IM rgb.ppm -define bmp3:alpha=true -alpha on BMP3:bmp_rgb32.bmp
$IM rgb.ppm BMP2:bmp_os2_rgb24.bmp
$IM rgb.ppm -type Palette BMP2:bmp_os2_pal4.bmp
