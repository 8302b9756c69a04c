#!/usr/bin/env bash
# Draws the program's icon, app/resources/lorvena_pf.ico: the front of a
# yellow locomotive on a blue tile, over a rail. Drawn once on a 48-unit grid
# at eight times that size, then averaged down to 16, 24, 32 and 48 px.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/../../scripts/install_packages.sh" imagemagick
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

scale=8
# The cells from unit x0,y0 up to (not including) x1,y1; edges on multiples
# of 3 units fall on whole pixels at 16 and 32 px.
box() { echo "rectangle $(($1 * scale)),$(($2 * scale)) $(($3 * scale - 1)),$(($4 * scale - 1))"; }
rounded() { echo "round$(box "$@") $(($5 * scale)),$(($5 * scale))"; }
disc() { echo "circle $(($1 * scale)),$(($2 * scale)) $(($1 * scale)),$((($2 + $3) * scale))"; }

# The tile's blue is the colour the Wine tests look for in the window's icon.
picture="fill #1D4E89 $(rounded 0 0 48 48 6)
         fill #9AA3AD $(box 3 42 45 45)
         fill #5C6670 $(box 12 39 18 42) $(box 30 39 36 42)
         fill #F2B705 $(rounded 9 6 39 39 4)
         fill #1A2433 $(rounded 12 9 36 21 2) $(box 21 24 27 36)
         fill #FFFFFF $(disc 15 30 3) $(disc 33 30 3)"

convert -size $((48 * scale))x$((48 * scale)) xc:none +antialias -draw "$picture" "$tmp/master.png"
sizes=()
for size in 16 24 32 48; do
  convert "$tmp/master.png" -filter box -resize "${size}x${size}" "$tmp/icon$size.png"
  sizes+=("$tmp/icon$size.png")
done
convert "${sizes[@]}" "$here/lorvena_pf.ico"
echo "wrote $here/lorvena_pf.ico"
