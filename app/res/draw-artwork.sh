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

# The palette: deep navy and steel blue, one teal accent, the dialog's light grey.
navy='#16324f'
steel='#24557a'
teal='#2fa4a9'
mist='#a9c2d8'
grey='#f0f0f0'
ink='#1d2b38'
edge='#8a98a6'

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

# The tag mark: a luggage tag pointing left, with its eyelet and two lines of writing.
# $1 size of the square canvas, $2 tag colour, $3 colour of the eyelet and writing.
draw_mark() {
  local s=$1 tag=$2 ink=$3 out=$4
  convert -size "${s}x${s}" xc:none -fill "$tag" -stroke none \
    -draw "polygon $(awk -v s="$s" 'BEGIN{
             printf "%.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f",
               0.06*s,0.50*s, 0.34*s,0.20*s, 0.94*s,0.20*s, 0.94*s,0.80*s, 0.34*s,0.80*s }')" \
    -fill "$ink" \
    -draw "circle $(awk -v s="$s" 'BEGIN{ printf "%.2f,%.2f %.2f,%.2f", 0.31*s,0.50*s, 0.31*s+0.075*s,0.50*s }')" \
    -draw "rectangle $(awk -v s="$s" 'BEGIN{ printf "%.2f,%.2f %.2f,%.2f", 0.48*s,0.38*s, 0.84*s,0.44*s }')" \
    -draw "rectangle $(awk -v s="$s" 'BEGIN{ printf "%.2f,%.2f %.2f,%.2f", 0.48*s,0.56*s, 0.72*s,0.62*s }')" \
    "$out"
}

# The banner: navy to steel blue, the tag mark, the product name, what the tool is for, a
# faint identifier running out on the right and a teal rule along the bottom edge.
draw_banner() {
  draw_mark 48 white "$navy" "$work/mark.png"
  convert -size 508x61 -define gradient:direction=east "gradient:$navy-$steel" \
    \( -size 508x61 xc:none -font "$mono" -pointsize 11 -fill '#ffffff14' \
       -annotate +232+22 '{7E3A19C4-52BD-4F08-A6D1-9C20E4B7F315-01DA6C2F-8B41E07A}' \
       -annotate +262+41 '{C0F1D2A8-9B37-4E6C-8D05-3A7F61E2B9D4-01DA6C30-1F9C5A3E}' \) \
    -composite \
    "$work/mark.png" -geometry +12+5 -composite \
    -font "$bold" -pointsize 21 -fill white -annotate +70+32 'Nimbra VORTAG' \
    -font "$sans" -pointsize 11 -fill "$mist" -annotate +71+48 'Agent identifier' \
    -fill "$teal" -draw 'rectangle 0,58 507,60' \
    "$work/banner.png"
  write_bmp "$work/banner.png" "$here/banner.bmp" 508 61
}

# A button face: $1 word, $2 file, $3 face colour, $4 text colour. The button's own static
# edge frames it; the face keeps a one-pixel inner border so it reads as a key.
draw_button() {
  local word=$1 out=$2 face=$3 text=$4 border=$5
  convert -size 70x26 "xc:$face" -fill none -stroke "$border" -draw 'rectangle 0,0 69,25' \
    -stroke none -font "$bold" -pointsize 10 -fill "$text" -gravity center \
    -annotate +0+0 "$word" "$work/face.png"
  write_bmp "$work/face.png" "$out" 70 26
}

# The icon: the tag mark on a navy rounded square, drawn at each size so 16 stays crisp.
draw_icon() {
  local sizes=()
  for s in 16 32 48; do
    local r=$((s / 6))
    draw_mark "$s" white "$navy" "$work/mark$s.png"
    convert -size "${s}x${s}" xc:none -fill "$navy" \
      -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r" \
      "$work/mark$s.png" -composite "$work/icon$s.png"
    sizes+=("$work/icon$s.png")
  done
  convert "${sizes[@]}" "$here/vortag.ico"
  identify -format '%f[%s]: %w x %h\n' "$here/vortag.ico"
}

draw_banner
draw_button CHANGE  "$here/change-en.bmp" "$navy" white "$navy"
draw_button CAMBIAR "$here/change-es.bmp" "$navy" white "$navy"
draw_button CLOSE   "$here/close-en.bmp"  "$grey" "$ink" "$edge"
draw_button CERRAR  "$here/close-es.bmp"  "$grey" "$ink" "$edge"
draw_icon
