#!/usr/bin/env bash
# The old-pictures page and the print preview against djpeg, in the same run. $1: the build folder.
#  - a browser page of nine filed 800 by 600 photographs (what filing leaves), paging with Next through
#    a claim of 90, against nine `djpeg -scale 1/4` decodes on all cores (the scale our decoder picks
#    for a 176 by 125 box);
#  - the preview of a 4000 by 3000 photograph, time until its page is shown, against one
#    `djpeg -scale 1/2` decode of it (the scale the preview's picture is decoded at).
set -euo pipefail
build=${1:?build folder}
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
drive="$work/drive_c"
claim=AB123456
mkdir -p "$drive/picture/$claim" "$drive/picture/transfer"
rounds=5
now() { date +%s%N; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
best_of() {
  local best= start took
  for _ in $(seq $rounds); do
    start=$(now)
    "$1"
    took=$(( $(now) - start ))
    if [ -z "$best" ] || [ "$took" -lt "$best" ]; then best=$took; fi
  done
  awk -v n="$best" 'BEGIN { printf "%.4f", n / 1e9 }'
}

# Nine camera-like 800 by 600 photographs at quality 90, filed ten times over as a claim of 90.
for i in 1 2 3 4 5 6 7 8 9; do
  "$convert" -seed "$i" -size 400x300 plasma:fractal -resize 800x600! -attenuate 0.3 +noise Gaussian \
    -quality 90 "$work/photo$i.jpg"
done
for n in $(seq 1 90); do
  cp "$work/photo$(( (n - 1) % 9 + 1 )).jpg" "$drive/picture/$claim/$claim$(printf %03d "$n").JPG"
done
echo "browser: claim of 90 filed 800x600 photographs, $(du -sh "$drive/picture/$claim" | cut -f1)"
ours=$("$build/bench/bench_viewer" page "$drive" "$claim" "$rounds")
echo "$ours"
ours_s=$(sed -n 's/.*best \([0-9.]*\) s per page.*/\1/p' <<<"$ours")
nine_djpeg() {
  ls "$drive/picture/$claim/"*00[1-9].JPG | head -9 |
    xargs -P "$(nproc)" -I{} sh -c 'djpeg -scale 1/4 -bmp "$1" >/dev/null' _ {}
}
djpeg_s=$(best_of nine_djpeg)
echo "djpeg -scale 1/4: nine decodes on $(nproc) cores, best $djpeg_s s over $rounds rounds"
echo "browser page: ours/djpeg $(ratio "$ours_s" "$djpeg_s")"

"$convert" -seed 5 -size 1000x750 plasma:fractal -resize 4000x3000! -attenuate 0.3 +noise Gaussian \
  -quality 92 "$work/big.jpg"
echo "preview: 4000x3000 photograph, $(stat -c %s "$work/big.jpg") bytes"
ours=$("$build/bench/bench_viewer" preview "$work/big.jpg" "$rounds")
echo "$ours"
ours_s=$(sed -n 's/.*best \([0-9.]*\) s.*/\1/p' <<<"$ours")
one_djpeg() { djpeg -scale 1/2 -bmp "$work/big.jpg" >/dev/null; }
djpeg_s=$(best_of one_djpeg)
echo "djpeg -scale 1/2: one decode, best $djpeg_s s over $rounds rounds"
echo "preview: ours/djpeg $(ratio "$ours_s" "$djpeg_s")"
