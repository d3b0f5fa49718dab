#!/usr/bin/env bash
# Draws the splash window's car picture (628 by 449, the splash panel's inside) with ImageMagick and
# writes it as splash-car.jpg beside this script. Run it again after changing the drawing; the JPEG is
# kept in the repository and compiled into the program as a resource.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Showroom: a pale wall fading into a light floor, so the red captions at the bottom stay readable.
"$convert" -size 628x250 gradient:'#9fc3e6-#eef4fa' "$work/wall.png"
"$convert" -size 628x199 gradient:'#dfe5ea-#fbfcfd' "$work/floor.png"
"$convert" "$work/wall.png" "$work/floor.png" -append "$work/room.png"

# The car's shadow on the floor, blurred on a layer of its own.
"$convert" -size 628x449 xc:none -fill 'rgba(20,30,40,0.55)' -draw 'ellipse 316,318 262,20 0,360' \
  -blur 0x9 "$work/shadow.png"

cat >"$work/car.mvg" <<'MVG'
push defs
push gradient 'body' linear 0,120 0,300
stop-color '#f0f4f8' 0
stop-color '#4f86c6' 0.25
stop-color '#1d4f8f' 0.6
stop-color '#0b2a52' 1
pop gradient
push gradient 'glass' linear 0,135 0,200
stop-color '#e9f3fb' 0
stop-color '#6c8fb0' 0.55
stop-color '#2c3e52' 1
pop gradient
push gradient 'rim' linear 0,240 0,310
stop-color '#ffffff' 0
stop-color '#a9b1b8' 0.5
stop-color '#5d656c' 1
pop gradient
pop defs
stroke '#0a1f3d'
stroke-width 2
push graphic-context
fill 'url(#body)'
path 'M 70,292 L 62,252 Q 64,214 92,208 L 172,199 Q 200,196 218,188 C 252,141 292,126 332,126 L 402,126 C 432,128 454,150 484,188 L 546,198 Q 566,204 569,230 L 572,278 Q 570,292 556,292 L 509,292 A 54,54 0 0 0 401,292 L 219,292 A 54,54 0 0 0 111,292 Z'
pop graphic-context
push graphic-context
fill 'url(#glass)'
stroke '#10243f'
path 'M 232,192 C 262,150 294,139 332,139 L 344,139 L 344,192 Z'
path 'M 356,139 L 400,139 C 424,141 442,160 466,192 L 356,192 Z'
pop graphic-context
stroke '#0d2b55'
stroke-width 1.5
fill none
line 350,196 350,282
path 'M 226,200 L 230,286'
path 'M 470,198 L 476,272'
stroke-width 3
stroke '#d6dde4'
line 98,236 560,236
stroke-width 1
stroke '#0a1f3d'
fill '#c9d1d8'
roundrectangle 300,210 326,216 3,3
roundrectangle 410,210 436,216 3,3
fill '#fff6c8'
stroke '#6b6b6b'
path 'M 548,206 Q 566,210 568,228 L 548,226 Z'
fill '#c8141e'
path 'M 64,224 L 88,218 L 90,244 L 63,246 Z'
fill '#2b2f33'
stroke '#16191c'
roundrectangle 540,262 574,286 6,6
roundrectangle 58,262 100,288 6,6
fill '#1b1b1b'
stroke '#000000'
circle 165,292 165,246
circle 455,292 455,246
push graphic-context
fill 'url(#rim)'
stroke '#4b535a'
circle 165,292 165,263
circle 455,292 455,263
pop graphic-context
fill '#3a4148'
circle 165,292 165,284
circle 455,292 455,284
stroke '#7b848c'
stroke-width 2
line 165,266 165,276
line 165,308 165,318
line 139,292 149,292
line 181,292 191,292
line 455,266 455,276
line 455,308 455,318
line 429,292 439,292
line 471,292 481,292
MVG

"$convert" "$work/room.png" "$work/shadow.png" -composite -draw "$(cat "$work/car.mvg")" \
  -quality 90 -sampling-factor 2x2 -strip "$here/splash-car.jpg"
echo "wrote $here/splash-car.jpg"
