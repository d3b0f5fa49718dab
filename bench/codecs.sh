#!/usr/bin/env bash
# Picture codecs against their peers, in the same run. $1: the build folder.
#  - GIF decoding of an A4 scan at 300 dpi (2480 by 3508, 8 bits) against giflib's DGifSlurp;
#  - an inbox page of nine 4000 by 3000 photographs drawn into 148 by 125 boxes (target 0.3 s), one
#    picture after the other and on all cores, against djpeg -scale 1/8 the same two ways;
#  - the 800 by 600 quality-90 resize against ImageMagick's convert -sample, whole processes both.
set -euo pipefail
build=${1:?build folder}
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A grey document scan (paper, print, noise) and a full-colour one, both 256 colours.
"$convert" -size 2480x3508 xc:white -fill black \
  -draw "rectangle 200,300 2280,340" -draw "rectangle 200,500 1800,520" -draw "rectangle 200,3000 900,3100" \
  -attenuate 0.6 +noise Gaussian -colorspace Gray -colors 256 "$work/scan_grey.gif"
"$convert" -seed 11 -size 2480x3508 plasma:fractal -colors 256 "$work/scan_colour.gif"
"$build/bench/bench_codecs" gif "$work/scan_grey.gif"
"$build/bench/bench_codecs" gif "$work/scan_colour.gif"

# Camera-like photographs, 4000 by 3000 at quality 92: smooth shapes with sensor noise. The time is
# libjpeg's entropy decoding, which grows with the file's size: light noise gives files of about 2.6 MB,
# heavy noise (high detail, high ISO) about 5.3 MB.
for noise in light:0.1 heavy:0.3; do
  photos=()
  for i in 1 2 3 4 5 6 7 8 9; do
    "$convert" -seed "$i" -size 1000x750 plasma:fractal -resize 4000x3000! -attenuate "${noise#*:}" \
      +noise Gaussian -quality 92 "$work/${noise%%:*}_$i.JPG"
    photos+=("$work/${noise%%:*}_$i.JPG")
  done
  echo "${noise%%:*} noise: nine photographs of $(du -ch "${photos[@]}" | tail -1 | cut -f1) in all"
  "$build/bench/bench_codecs" inbox "${photos[@]}"
  # libjpeg's own floor for the same work: djpeg decoding each photograph at one eighth.
  start=$(date +%s%N)
  for photo in "${photos[@]}"; do /usr/bin/djpeg -scale 1/8 -outfile /dev/null "$photo"; done
  echo "djpeg -scale 1/8 of the same nine (nine processes): $(( ($(date +%s%N) - start) / 1000000 )) ms"
  start=$(date +%s%N)
  printf '%s\0' "${photos[@]}" | xargs -0 -P "$(nproc)" -n 1 /usr/bin/djpeg -scale 1/8 -outfile /dev/null
  echo "djpeg -scale 1/8 of the same nine on $(nproc) cores: $(( ($(date +%s%N) - start) / 1000000 )) ms"
done

now() { date +%s%N; }
runs=5
start=$(now)
for _ in $(seq $runs); do "$build/bench/bench_codecs" resize "$work/light_1.JPG" "$work/ours.jpg"; done
ours=$(( ($(now) - start) / runs / 1000000 ))
start=$(now)
for _ in $(seq $runs); do "$convert" "$work/light_1.JPG" -sample '800x600!' -quality 90 "$work/magick.jpg"; done
magick=$(( ($(now) - start) / runs / 1000000 ))
echo "resize 4000x3000 -> 800x600 q90 (whole process, mean of $runs): ours ${ours} ms, convert -sample ${magick} ms," \
  "ours/convert $(awk -v a="$ours" -v b="$magick" 'BEGIN { printf "%.2f", a / b }')"

# The capture record on the resize: the same photograph with a 60 KB record (camera fields, GPS, a long
# user comment, a thumbnail) written by exiftool, against it without one. Target: under 1 % of the resize.
exifphoto="$work/light_1_exif.JPG"
cp "$work/light_1.JPG" "$exifphoto"
head -c 50500 /dev/zero | tr '\0' 'c' >"$work/comment.txt"
"$convert" "$work/light_1.JPG" -resize 160x120! -quality 92 "$work/thumb.jpg"
/usr/bin/exiftool -q -overwrite_original -Make="NIKON CORPORATION" -Model="NIKON D750" \
  -DateTimeOriginal="2024:05:01 10:22:33" -Orientation#=1 -GPSLatitude=13.7563 -GPSLatitudeRef=N \
  -GPSLongitude=100.5018 -GPSLongitudeRef=E -ExifImageWidth=4000 -ExifImageHeight=3000 \
  "-UserComment<=$work/comment.txt" "-ThumbnailImage<=$work/thumb.jpg" "$exifphoto"
"$build/bench/bench_codecs" exif "$work/light_1.JPG" "$exifphoto" "$work/exif_out.jpg"
