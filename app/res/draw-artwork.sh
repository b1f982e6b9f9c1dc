#!/usr/bin/env bash
# Draws the tool's images with ImageMagick and DejaVu fonts and writes them beside this
# script, where they are committed: the build takes the files as they are and never runs
# this. Run it again after changing a drawing, look at the result, commit the files.
#
#   banner.bmp                      508 x 61, the top of the dialog
#   change-en.bmp  change-es.bmp    70 x 26 button faces, CHANGE / CAMBIAR
#   close-en.bmp   close-es.bmp     70 x 26 button faces, CLOSE / CERRAR
#   vortag.ico                      16, 32 and 48 pixel icon
#
# Every .bmp is an uncompressed palette bitmap with 8 bits per pixel: the script checks the
# header it wrote and fails otherwise (ImageMagick picks fewer bits for few colours).
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

# Writes $1 (any image) as an 8-bit palette BMP $2 and checks what was written.
write_bmp() {
  convert "$1" -alpha off +dither -colors 256 -type Palette -compress None \
          -define bmp:format=bmp3 "BMP3:$2"
  check_bmp "$2" "$3" "$4"
}

# Fails unless $1 carries a BITMAPINFOHEADER for $2 x $3 pixels, 8 bits, uncompressed.
check_bmp() {
  local file=$1 width=$2 height=$3
  local header size w h bits compression
  header=$(od -An -tu4 -j14 -N4 "$file" | tr -d ' ')
  w=$(od -An -td4 -j18 -N4 "$file" | tr -d ' ')
  h=$(od -An -td4 -j22 -N4 "$file" | tr -d ' ')
  bits=$(od -An -tu2 -j28 -N2 "$file" | tr -d ' ')
  compression=$(od -An -tu4 -j30 -N4 "$file" | tr -d ' ')
  size="$w x $h, $bits bits, header $header, compression $compression"
  if [ "$header" != 40 ] || [ "$w" != "$width" ] || [ "${h#-}" != "$height" ] ||
     [ "$bits" != 8 ] || [ "$compression" != 0 ]; then
    echo "draw-artwork: $file is $size; wanted $width x $height, 8 bits, header 40, compression 0" >&2
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

# The banner: navy to steel blue, the tag mark, the product name and what the tool is for,
# faint identifiers fading in towards the right, a teal rule along the bottom edge; the
# whole strip fading out into the dialog's grey at its right end.
draw_banner() {
  draw_mark 48 white "$teal" "$work/mark.png"
  convert -size 508x61 xc:none -font "$mono" -pointsize 10 -fill '#ffffff' \
    -annotate +236+15 '7E3A19C4-52BD-4F08-A6D1-9C20E4B7F315-01DA6C2F-8B41E07A' \
    -annotate +212+31 'C0F1D2A8-9B37-4E6C-8D05-3A7F61E2B9D4-01DA6C30-1F9C5A3E' \
    -annotate +248+47 '5B8E0D27-E4A1-4C93-B762-0F3D9A5C18E6-01DA6C31-A07B4D92' \
    \( -size 508x61 xc:black -fx 'min(0.14, max(0, (i - 250) / 200 * 0.14))' \) \
    -compose CopyOpacity -composite \
    "$work/hex.png"
  convert -size 508x61 -define gradient:direction=east "gradient:$navy-$steel" \
    "$work/hex.png" -compose Over -composite \
    "$work/mark.png" -geometry +12+5 -composite \
    -font "$bold" -pointsize 21 -fill white -annotate +70+31 'Nimbra VORTAG' \
    -font "$sans" -pointsize 11 -fill "$mist" -annotate +71+47 'Agent identifier' \
    -fill "$teal" -draw 'rectangle 0,58 507,60' \
    "$work/strip.png"
  # The right end fades into the dialog's grey: where the dialog comes out wider than the
  # banner (other font metrics, other DPI), banner and dialog still meet without a seam.
  convert "$work/strip.png" \
    \( -size 508x61 xc:black -fx 'i < 400 ? 1 : max(0, (507 - i) / 107)' \) \
    -alpha off -compose CopyOpacity -composite \
    -background "$dialog" -compose Over -flatten "$work/banner.png"
  write_bmp "$work/banner.png" "$here/banner.bmp" 508 61
}

# A button face: $1 word, $2 file, $3 and $4 the face's top and bottom colours, $5 the text
# colour, $6 a one-pixel inner border. The button's own static edge frames it.
draw_button() {
  local word=$1 out=$2 top=$3 bottom=$4 text=$5 border=$6
  convert -size 70x26 "gradient:$top-$bottom" \
    -fill none -stroke "$border" -draw 'rectangle 0,0 69,25' -stroke none \
    -font "$bold" -pointsize 10 -kerning 0.6 -fill "$text" -gravity center \
    -annotate +0+0 "$word" "$work/face.png"
  write_bmp "$work/face.png" "$out" 70 26
}

# The icon: the tag mark on a navy rounded square. 32 and 48 scale the banner's mark; 16 is
# laid on whole pixels, where a scaled mark would blur its eyelet and writing.
draw_icon() {
  local sizes=()
  for s in 16 32 48; do
    local r=$((s / 6))
    if [ "$s" = 16 ]; then
      convert -size 16x16 xc:none -fill white -draw 'polygon 0.6,7.5 4.5,3 14.5,3 14.5,12 4.5,12' \
        +antialias -fill "$teal" -draw 'rectangle 4,7 5,8' \
        -draw 'rectangle 8,6 12,6' -draw 'rectangle 8,9 10,9' "$work/mark16.png"
    else
      draw_mark "$s" white "$teal" "$work/mark$s.png"
    fi
    convert -size "${s}x${s}" xc:none -fill "$navy" \
      -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r" \
      "$work/mark$s.png" -composite "$work/icon$s.png"
    sizes+=("$work/icon$s.png")
  done
  convert "${sizes[@]}" "$here/vortag.ico"
  identify -format '%f[%s]: %w x %h\n' "$here/vortag.ico"
}

draw_banner
# CHANGE is the tool's one action and carries the product's colours; CLOSE stays quiet.
draw_button CHANGE  "$here/change-en.bmp" "$steel" "$navy" white "$deep"
draw_button CAMBIAR "$here/change-es.bmp" "$steel" "$navy" white "$deep"
draw_button CLOSE   "$here/close-en.bmp"  white "$pale" "$ink" "$edge"
draw_button CERRAR  "$here/close-es.bmp"  white "$pale" "$ink" "$edge"
draw_icon
