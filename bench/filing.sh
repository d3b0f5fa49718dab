#!/usr/bin/env bash
# The new-pictures page against ImageMagick, in the same run. $1: the build folder.
#  - a grid page of nine 4000 by 3000 photographs (target under 0.3 s), on one core and on all, against
#    the same nine loads through convert -sample into 148 by 125, one after the other and on all cores;
#  - filing a 900 kB photograph with its 800 by 600 resize (target well under a second) against
#    convert -sample 800x600 at quality 90 plus the two copies.
set -euo pipefail
build=${1:?build folder}
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
drive="$work/drive_c"
mkdir -p "$drive/picture/transfer"
rounds=5
now() { date +%s%N; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# best_of FUNCTION: the shortest of $rounds runs of FUNCTION, in seconds.
best_of() {
  local best= start took
  for _ in $(seq $rounds); do
    start=$(now)
    "$1"
    took=$(( $(now) - start ))
    if [ -z "$best" ] || [ "$took" -lt "$best" ]; then best=$took; fi
  done
  awk -v n="$best" 'BEGIN { printf "%.3f", n / 1e9 }'
}

# Camera-like photographs: smooth shapes with sensor noise.
photos=()
for i in 1 2 3 4 5 6 7 8 9; do
  "$convert" -seed "$i" -size 1000x750 plasma:fractal -resize 4000x3000! -attenuate 0.3 +noise Gaussian \
    -quality 92 "$drive/picture/IMG_000$i.JPG"
  photos+=("$drive/picture/IMG_000$i.JPG")
done
echo "page: nine 4000x3000 photographs, $(du -ch "${photos[@]}" | tail -1 | cut -f1) in all"
ours=$("$build/bench/bench_filing" page "$drive" "$rounds")
echo "$ours"
one_core_s=$(sed -n 's/.*one core: best \([0-9.]*\) s.*/\1/p' <<<"$ours")
ours_s=$(sed -n 's/.*all cores: best \([0-9.]*\) s.*/\1/p' <<<"$ours")
nine_samples() {
  for photo in "${photos[@]}"; do "$convert" "$photo" -sample '148x125!' "$work/cell.png"; done
}
# The same nine loads spread over the cores, as the page spreads its own.
nine_samples_all_cores() {
  printf '%s\0' "${photos[@]}" |
    xargs -0 -P "$(nproc)" -I{} sh -c '"$1" "$2" -sample "148x125!" "$3/cell-$$.png"' _ "$convert" {} "$work"
}
magick_s=$(best_of nine_samples)
echo "convert -sample: nine loads, best $magick_s s over $rounds rounds"
magick_all_s=$(best_of nine_samples_all_cores)
echo "convert -sample: nine loads on $(nproc) cores, best $magick_all_s s over $rounds rounds"
echo "page: ours all cores/one core $(ratio "$ours_s" "$one_core_s")"
echo "page: ours/convert $(ratio "$ours_s" "$magick_s"), both on all cores $(ratio "$ours_s" "$magick_all_s")"

# A photograph of about 900 kB: 1600 by 1200 with enough grain to weigh that much.
"$convert" -seed 3 -size 400x300 plasma:fractal -resize 1600x1200! -attenuate 0.39 +noise Gaussian \
  -quality 90 "$work/IMG_0042.JPG"
echo "filing: IMG_0042.JPG, $(stat -c %s "$work/IMG_0042.JPG") bytes"
ours=$("$build/bench/bench_filing" file "$drive" "$work/IMG_0042.JPG" "$rounds")
echo "$ours"
ours_s=$(sed -n 's/.*best \([0-9.]*\) s.*/\1/p' <<<"$ours")
resize_and_copy() {
  "$convert" "$work/IMG_0042.JPG" -sample '800x600!' -quality 90 "$work/TEMP.JPG"
  cp "$work/TEMP.JPG" "$work/a.jpg" && cp "$work/TEMP.JPG" "$work/b.jpg"
}
magick_s=$(best_of resize_and_copy)
echo "convert -sample 800x600 q90 and two copies: best $magick_s s over $rounds rounds"
echo "filing: ours/convert $(ratio "$ours_s" "$magick_s")"
