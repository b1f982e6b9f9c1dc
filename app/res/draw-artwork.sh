#!/usr/bin/env bash
# Draws the tool's images with ImageMagick and DejaVu fonts, at 100, 150 and 200 %, and writes
# them beside this script, where they are committed: the build takes the files as they are and
# never runs this. Run it again after changing a drawing, look at the result, commit the files.
#
#   banner.bmp     banner-150.bmp     banner-200.bmp       508 x 61, 762 x 92, 1016 x 122: the top of the dialog
#   change-en.bmp  change-en-150.bmp  change-en-200.bmp    70 x 26, 105 x 39, 140 x 52 faces: CHANGE
#   change-es.bmp  ...                                     CAMBIAR
#   close-en.bmp   ...                                     CLOSE
#   close-es.bmp   ...                                     CERRAR
#   vortag.ico                                             16, 24, 32, 48 and 64 pixels
#
# Every .bmp is a palette bitmap with 8 bits a pixel, run-length encoded (BI_RLE8) and carrying
# only the palette entries it uses: so three scales of every image cost less than one did
# uncompressed, and the tool stays small. The drawings keep their colours in runs along the
# rows (gradients from top to bottom, flat areas) for the encoding to work on. Each encoded row
# holds exactly the image's width and the stream ends with end-of-bitmap, as the format wants:
# decoders differ over anything else. The script checks every header it wrote. The icon's images
# are PNG, which Windows reads in icons since Vista, without time stamps: drawing again changes
# no file whose drawing stayed the same.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fonts=/usr/share/fonts/truetype/dejavu
sans=$fonts/DejaVuSans.ttf
bold=$fonts/DejaVuSans-Bold.ttf
mono=$fonts/DejaVuSansMono.ttf
for f in "$sans" "$bold" "$mono"; do
  [ -r "$f" ] || { echo "draw-artwork: needs $f (apt-get install fonts-dejavu-core)" >&2; exit 1; }
done

# The palette: navy and steel blue, one teal accent, pale greys near the dialog's own.
navy='#16324f'
steel='#24557a'
teal='#2fa4a9'
mist='#a9c2d8'
deep='#0e2238'
pale='#e2e7ec'
ink='#1d2b38'
edge='#8a98a6'
dialog='#f0f0f0'   # the dialog's background, RGB(240, 240, 240)

# The scale being drawn, 1, 1.5 or 2; px turns a length at 100 % into whole pixels at it.
scale=1
px() { awk -v s="$scale" -v v="$1" 'BEGIN { printf "%d", v * s + 0.5 }'; }

# Little-endian 16- and 32-bit numbers, as the file headers want them.
le16() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
# Unsigned numbers of a file: $1 the file, $2 the offset, $3 the width in bytes (1, 2 or 4).
number() { od -An -tu"$3" -j"$2" -N"$3" "$1" | tr -d ' '; }

# Writes $1 (any image) as a run-length encoded 8-bit palette BMP $2 of $3 x $4 pixels, in at
# most $5 colours, and checks what was written. ImageMagick writes all 256 palette entries; the
# file keeps those the pixels use (the highest index tells how many). The runs are rle8's
# below: ImageMagick's carry each row on over the row's padding, past the image's width.
write_bmp() {
  local image=$1 out=$2 width=$3 height=$4 colours=$5
  convert "$image" -alpha off +dither -colors "$colours" -type Palette -define bmp:format=bmp3 \
    -compress None "BMP3:$work/plain.bmp"
  local used dataSize
  used=$(od -An -tu1 -v -j"$(number "$work/plain.bmp" 10 4)" "$work/plain.bmp" | tr -s ' ' '\n' | sort -n | tail -n 1)
  used=$((used + 1))
  printf "$(rle8 "$work/plain.bmp" "$width" "$height")" >"$work/runs"
  dataSize=$(stat -c %s "$work/runs")
  {
    printf BM
    le32 $((54 + 4 * used + dataSize)); le32 0; le32 $((54 + 4 * used))
    head -c 30 "$work/plain.bmp" | tail -c 16   # the info header's size, width, height, planes, bits
    le32 1; le32 "$dataSize"                     # BI_RLE8, in that many bytes
    head -c 46 "$work/plain.bmp" | tail -c 8     # the resolution
    le32 "$used"; le32 0
    head -c $((54 + 4 * used)) "$work/plain.bmp" | tail -c $((4 * used))
    cat "$work/runs"
  } >"$out"
  check_bmp "$out" "$width" "$height" "$used" "$dataSize"
}

# The pixels of $1, an uncompressed 8-bit BMP of $2 x $3 pixels, as RLE8 in printf's octal
# escapes, bottom row first as stored: a run of one colour as (count, index); three or more
# pixels without a run of three among them as (0, count, the indices, a 0 to an even length);
# each row exactly $2 pixels and ended by end-of-line (0, 0), the last by end-of-bitmap (0, 1).
rle8() {
  od -An -tu1 -v -j"$(number "$1" 10 4)" "$1" | awk -v w="$2" -v h="$3" '
    function byte(b) { printf "\\%03o", b }
    function triple(x) { return x + 2 < w && p[r + x] == p[r + x + 1] && p[r + x] == p[r + x + 2] }
    { for (i = 1; i <= NF; i++) p[n++] = $i }
    END {
      for (y = 0; y < h; y++) {
        r = y * int((w + 3) / 4) * 4   # rows are stored padded to four bytes
        for (x = 0; x < w; x += k) {
          for (k = 1; x + k < w && k < 255 && p[r + x + k] == p[r + x]; k++);
          if (k == 1)
            for (; x + k < w && k < 255 && !triple(x + k); k++);
          if (k >= 3 && p[r + x] != p[r + x + 1]) {
            byte(0); byte(k)
            for (i = 0; i < k; i++) byte(p[r + x + i])
            if (k % 2) byte(0)
          } else if (p[r + x] == p[r + x + k - 1]) {
            byte(k); byte(p[r + x])
          } else
            for (i = 0; i < k; i++) { byte(1); byte(p[r + x + i]) }
        }
        byte(0); byte(y == h - 1)
      }
    }'
}

# Fails unless $1 carries a BITMAPINFOHEADER for $2 x $3 pixels, 8 bits, RLE8, $4 colours
# and $5 bytes of pixel data right after them.
check_bmp() {
  local file=$1 width=$2 height=$3 colours=$4 data=$5
  local header w h bits compression used start size
  header=$(number "$file" 14 4)
  w=$(od -An -td4 -j18 -N4 "$file" | tr -d ' ')
  h=$(od -An -td4 -j22 -N4 "$file" | tr -d ' ')
  bits=$(number "$file" 28 2)
  compression=$(number "$file" 30 4)
  used=$(number "$file" 46 4)
  start=$(number "$file" 10 4)
  size="$w x $h, $bits bits, header $header, compression $compression, $used colours, $(stat -c %s "$file") bytes"
  if [ "$header" != 40 ] || [ "$w" != "$width" ] || [ "$h" != "$height" ] || [ "$bits" != 8 ] ||
     [ "$compression" != 1 ] || [ "$used" != "$colours" ] || [ "$start" != $((54 + 4 * colours)) ] ||
     [ "$(stat -c %s "$file")" != $((start + data)) ]; then
    echo "draw-artwork: $file is $size; wanted $width x $height, 8 bits, header 40, RLE8, $colours colours" >&2
    exit 1
  fi
  echo "$(basename "$file"): $size"
}

# Points given as fractions of a square, scaled to its side $1: "0.5,0.25 ..." -> "8.0,4.0 ...".
scaled() {
  awk -v s="$1" -v points="$2" 'BEGIN {
    n = split(points, p, " ")
    for (i = 1; i <= n; i++) { split(p[i], xy, ","); printf "%.1f,%.1f ", xy[1] * s, xy[2] * s }
  }'
}

# Edges of a rectangle given as fractions, on whole pixels so its sides stay sharp.
bar() {
  awk -v s="$1" -v x1="$2" -v y1="$3" -v x2="$4" -v y2="$5" 'BEGIN {
    printf "rectangle %d,%d %d,%d", int(x1 * s + 0.5), int(y1 * s + 0.5), int(x2 * s + 0.5) - 1, int(y2 * s + 0.5) - 1
  }'
}

# The tag mark: a luggage tag pointing left, with its eyelet and two lines of writing.
# $1 side of the square canvas, $2 tag colour, $3 colour of the eyelet and writing, $4 file.
draw_mark() {
  local s=$1 tag=$2 detail=$3 out=$4
  convert -size "${s}x${s}" xc:none -stroke none \
    -fill "$tag" -draw "polygon $(scaled "$s" '0.06,0.50 0.34,0.20 0.94,0.20 0.94,0.80 0.34,0.80')" \
    -fill "$detail" -draw "circle $(scaled "$s" '0.31,0.50 0.385,0.50')" \
    -draw "$(bar "$s" 0.48 0.38 0.84 0.44)" -draw "$(bar "$s" 0.48 0.56 0.72 0.62)" \
    "$out"
}

# The banner: a navy band darkening towards its top edge with the tag mark, the product name
# and what the tool is for; its right end cut at a slant, a teal stripe beside the cut, and
# the dialog's own grey beyond, so that where the dialog comes out wider than the banner (other
# font metrics) banner and dialog meet without a seam. $1 the file.
draw_banner() {
  local out=$1 width height cut slant
  width=$(px 508); height=$(px 61); cut=$(px 420); slant=$(px 36)
  draw_mark "$(px 48)" white "$teal" "$work/mark.png"
  convert -size "${width}x${height}" "xc:$dialog" \
    \( -size "${width}x${height}" -define gradient:direction=south "gradient:$navy-$steel" \) \
    \( -size "${width}x${height}" xc:black -fill white \
       -draw "polygon 0,0 $((cut + slant)),0 $cut,$height 0,$height" \) \
    -compose Over -composite \
    -fill "$teal" -draw "polygon $((cut + slant + $(px 5))),0 $((cut + slant + $(px 10))),0 $((cut + $(px 10))),$height $((cut + $(px 5))),$height" \
    "$work/mark.png" -geometry "+$(px 12)+$(px 5)" -composite \
    -font "$bold" -pointsize "$(px 21)" -fill white -annotate "+$(px 70)+$(px 31)" 'Nimbra VORTAG' \
    -font "$sans" -pointsize "$(px 11)" -fill "$mist" -annotate "+$(px 71)+$(px 47)" 'Agent identifier' \
    "$work/banner.png"
  write_bmp "$work/banner.png" "$out" "$width" "$height" 64
}

# A button face: $1 word, $2 file, $3 and $4 the face's top and bottom colours, $5 the text
# colour, $6 an inner border one pixel wide at 100 %. The button's own static edge frames it.
draw_button() {
  local word=$1 out=$2 top=$3 bottom=$4 text=$5 border=$6 width height line
  width=$(px 70); height=$(px 26); line=$(px 1)
  convert -size "${width}x${height}" "gradient:$top-$bottom" -fill none -stroke "$border" -strokewidth "$line" \
    -draw "rectangle $((line / 2)),$((line / 2)) $((width - 1 - line / 2)),$((height - 1 - line / 2))" -stroke none \
    -font "$bold" -pointsize "$(awk -v s="$scale" 'BEGIN { print 10 * s }')" \
    -kerning "$(awk -v s="$scale" 'BEGIN { print 0.6 * s }')" -fill "$text" -gravity center \
    -annotate +0+0 "$word" "$work/face.png"
  write_bmp "$work/face.png" "$out" "$width" "$height" 32
}

# The icon: the tag mark on a navy rounded square, one PNG image a size: 16 and 32 for 100 %,
# 24 and 48 for 150 %, 32 and 64 for 200 %. 16 is laid on whole pixels, where a scaled mark
# would blur its eyelet and writing; the others scale the banner's mark.
draw_icon() {
  local sizes=(16 24 32 48 64) offset=$((6 + 16 * 5)) s r
  for s in "${sizes[@]}"; do
    r=$((s / 6))
    if [ "$s" = 16 ]; then
      convert -size 16x16 xc:none -fill white -draw 'polygon 0.6,7.5 4.5,3 14.5,3 14.5,12 4.5,12' \
        +antialias -fill "$teal" -draw 'rectangle 4,7 5,8' \
        -draw 'rectangle 8,6 12,6' -draw 'rectangle 8,9 10,9' "$work/mark16.png"
    else
      draw_mark "$s" white "$teal" "$work/mark$s.png"
    fi
    convert -size "${s}x${s}" xc:none -fill "$navy" \
      -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r" \
      "$work/mark$s.png" -composite -define png:format=png32 -define png:exclude-chunks=date,time \
      "$work/icon$s.png"
  done
  {
    le16 0; le16 1; le16 ${#sizes[@]}   # an icon file with that many images
    for s in "${sizes[@]}"; do
      local bytes
      bytes=$(stat -c %s "$work/icon$s.png")
      printf "\\$(printf %03o "$s")\\$(printf %03o "$s")\\000\\000"; le16 1; le16 32; le32 "$bytes"; le32 "$offset"
      offset=$((offset + bytes))
    done
    for s in "${sizes[@]}"; do cat "$work/icon$s.png"; done
  } >"$here/vortag.ico"
  identify -format '%f[%s]: %w x %h\n' "$here/vortag.ico"
}

# The artwork of one scale: $1 the scale, $2 what its file names end in.
draw_scale() {
  scale=$1
  local suffix=$2
  draw_banner "$here/banner$suffix.bmp"
  # CHANGE is the tool's one action and carries the product's colours; CLOSE stays quiet.
  draw_button CHANGE  "$here/change-en$suffix.bmp" "$steel" "$navy" white "$deep"
  draw_button CAMBIAR "$here/change-es$suffix.bmp" "$steel" "$navy" white "$deep"
  draw_button CLOSE   "$here/close-en$suffix.bmp"  white "$pale" "$ink" "$edge"
  draw_button CERRAR  "$here/close-es$suffix.bmp"  white "$pale" "$ink" "$edge"
}

draw_scale 1 ""
draw_scale 1.5 -150
draw_scale 2 -200
draw_icon
