#!/bin/sh
# Draws the tool's artwork into resources/art/: the window mask (outline and
# background), the title and logo pictures, the exit and web button strips,
# the scroll bar's thumb and the application icon.
#
# Every bitmap is written as an uncompressed 24-bit BMP (BMP3, so no alpha
# channel and no V4/V5 header) at 2,834 pixels per metre, the form the
# resource compiler embeds and the window code loads by name.
#
# Needs ImageMagick 6 (convert) and fontconfig (fc-match). The output is
# committed; run this again only when the artwork changes, then check the
# mask with tools/check-mask-region.py.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/resources/art
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

font() {
  f=$(fc-match -f '%{file}' "$1")
  [ -f "$f" ] || { echo "font not found: $1" >&2; exit 1; }
  printf '%s' "$f"
}
SANS=$(font 'DejaVu Sans')
SANS_BOLD=$(font 'DejaVu Sans:bold')
SANS_COND_BOLD=$(font 'DejaVu Sans Condensed:bold')
SANS_BOLD_OBLIQUE=$(font 'DejaVu Sans:bold:oblique')
CJK=$(font 'WenQuanYi Micro Hei')

# Palette: a dark, nearly neutral theme with red accents. The labels that
# the layout text puts on the background are light (white, yellow, greys),
# so everything under them stays dark.
MASK_COLOUR='#F5FFFF'   # outside the window; never used inside
BODY='#141518'          # window body, also the logo pictures' background
EDGE='#4A4C53'          # one-pixel rim along the outline
PANEL='#1C1D21'         # the three lower panels
PANEL_LINE='#34363C'
STRIP='#26272C'         # header strips of the panels
TITLE_BG='#1A1B1F'      # picture area behind the title, and the titles' background
RED='#D0142C'
RED_LIT='#FF2A40'
RED_DARK='#7C0C1A'
GREY_TEXT='#A4A5AA'

W=813
H=553

# Writes any picture as the embedded bitmap form.
to_bmp() {
  convert "$1" -alpha off -type TrueColor \
    -units PixelsPerCentimeter -density 28.34 "BMP3:$2"
}

# metal_text CANVAS OUT FONT SIZE GRAVITY OFFSET TEXT [TOP BOTTOM]
# Lays TEXT onto CANVAS in a vertical light-to-grey gradient with a soft
# dark shadow, the look shared by the title and logo lettering.
metal_text() {
  canvas=$1 dst=$2 f=$3 size=$4 grav=$5 off=$6 text=$7
  top=${8:-#FFFFFF} bottom=${9:-#8A8B92}
  geo=$(identify -format '%wx%h' "$canvas")
  convert -size "$geo" xc:black -font "$f" -pointsize "$size" -fill white \
    -gravity "$grav" -annotate "$off" "$text" "$tmp/text_mask.png"
  convert "$tmp/text_mask.png" -roll +2+2 -blur 0x1.5 "$tmp/shadow_mask.png"
  convert "$canvas" \
    \( -size "$geo" xc:'#050506' \) "$tmp/shadow_mask.png" -composite \
    \( -size "$geo" gradient:"$top-$bottom" \) "$tmp/text_mask.png" -composite \
    "$dst"
}

# ---------------------------------------------------------------- outline
# Inside runs of the rows above the full-width body, inclusive pixel
# columns. Rows 2 and 3 hold the centre tab alone; it widens with slanted
# edges to 248..560 at row 36; from row 26 the left and right tabs join it,
# flaring towards the body like fillets. Rows 37..552 span the whole width.
# The figures are chosen so that every row from 26 on differs from the one
# above and rows 2..25 form exactly 21 bands: the region is 33 bands of 55
# rectangles and leaves 17,905 pixels of the mask colour.
cat > "$tmp/outline.txt" <<'EOF'
2 274 534
3 274 534
4 273 535
5 272 536
6 271 537
7 271 537
8 270 538
9 269 539
10 268 540
11 267 541
12 266 542
13 265 543
14 264 544
15 263 545
16 262 546
17 261 547
18 260 548
19 259 549
20 259 549
21 258 550
22 257 551
23 256 552
24 255 553
25 254 554
26 15 99 254 554 713 797
27 15 99 253 555 713 797
28 14 100 253 555 712 798
29 13 100 252 556 712 799
30 12 101 252 556 711 800
31 11 102 251 557 710 801
32 9 103 251 557 708 803
33 7 105 250 558 707 804
34 5 106 249 559 705 806
35 3 108 249 559 703 809
36 0 110 248 560 701 811
EOF
draws="rectangle 0,37 $((W - 1)),$((H - 1))"
while read -r y a b c d e f; do
  draws="$draws rectangle $a,$y $b,$y"
  [ -n "${c:-}" ] && draws="$draws rectangle $c,$y $d,$y rectangle $e,$y $f,$y"
done < "$tmp/outline.txt"
convert -size ${W}x${H} xc:black +antialias -fill white -draw "$draws" \
  -type Grayscale "$tmp/outline.png"
# Inner rim: inside pixels next to the outside or to the picture's border.
convert "$tmp/outline.png" -bordercolor black -border 1 \
  -morphology EdgeIn Square:1 -shave 1x1 "$tmp/rim.png"

# ------------------------------------------------------------ the two mice
# Two mice seen from above, tilted towards each other so that their front
# ends meet in a red flash; below the meeting point the gap between them
# leaves room for the "bump" caption, and the captions of mouse A and B sit
# above their outer shoulders. Local coordinates: centre at the origin,
# front towards -y, 60 wide and 100 long.
mouse_body="path 'M 0,-50 C 20,-50 28,-40 29,-20 C 31,5 32,30 24,42 C 16,52 -16,52 -24,42 C -32,30 -31,5 -29,-20 C -28,-40 -20,-50 0,-50 Z'"
mouse_left="path 'M -1,-49 C -18,-49 -27,-40 -28,-20 L -28,-13 Q -14,-9 -1,-10 Z'"
mouse_right="path 'M 1,-49 C 18,-49 27,-40 28,-20 L 28,-13 Q 14,-9 1,-10 Z'"
mouse() { # X Y ANGLE LIT-BUTTON-PATH
  printf '%s' "push graphic-context translate $1,$2 rotate $3
    fill '#2C2E35' stroke '#5C5E66' stroke-width 1 $mouse_body
    fill '#383A42' stroke '#4C4E56' stroke-width 1 $mouse_left $mouse_right
    fill '$RED_DARK' stroke '$RED' stroke-width 1 $4
    fill '#16171B' stroke '#6A6C75' stroke-width 1 roundrectangle -3,-42 3,-26 2,2
    fill '$RED' stroke none roundrectangle -2,-39 2,-29 1,1
    fill none stroke '#6E7079' stroke-width 1 path 'M -22,-2 C -24,14 -22,30 -16,38'
    path 'M 22,-2 C 24,14 22,30 16,38'
    stroke '$RED' stroke-width 2 path 'M -8,30 L 0,36 L 8,30'
    pop graphic-context "
}
# A's right button and B's left button meet.
MICE="$(mouse 101 442 34 "$mouse_right") $(mouse 213 442 -34 "$mouse_left")"
BURST="fill none stroke '$RED_LIT' stroke-width 2
  line 157,398 157,384 line 150,400 141,390 line 164,400 173,390
  line 147,406 136,404 line 167,406 178,404
  stroke '#FFB0B8' stroke-width 1 line 157,397 157,390"

# -------------------------------------------------------------- background
convert -size ${W}x${H} xc:"$BODY" \
  -fill none -stroke "$RED" -strokewidth 1 \
  -draw "line 60,84 752,84" \
  -stroke none -fill "$RED" \
  -draw "rectangle 38,30 45,32 rectangle 51,30 58,32 rectangle 64,30 71,32" \
  -draw "rectangle 741,30 748,32 rectangle 754,30 761,32 rectangle 767,30 774,32" \
  -fill "$TITLE_BG" -stroke "$PANEL_LINE" -strokewidth 1 \
  -draw "roundrectangle 176,92 646,235 8,8" \
  -stroke "$RED" -strokewidth 2 \
  -draw "line 177,100 177,93 line 177,93 184,93 line 645,100 645,93 line 645,93 638,93" \
  -draw "line 177,227 177,234 line 177,234 184,234 line 645,227 645,234 line 645,234 638,234" \
  -fill none -stroke "$RED" -strokewidth 1 -draw "line 60,315 752,315" \
  -fill "$PANEL" -stroke "$PANEL_LINE" -strokewidth 1 \
  -draw "roundrectangle 14,320 276,510 6,6" \
  -draw "roundrectangle 280,320 544,510 6,6" \
  -draw "roundrectangle 548,320 800,510 6,6" \
  -fill "$STRIP" -stroke none \
  -draw "rectangle 20,325 270,352" \
  -draw "rectangle 285,325 539,378" \
  -draw "rectangle 553,323 773,345" \
  -fill "$RED" -draw "rectangle 20,325 22,352 rectangle 285,325 287,378 rectangle 553,323 555,345" \
  -fill "$PANEL_LINE" -draw "line 624,326 624,342 line 697,326 697,342" \
  -fill '#111215' -draw "rectangle 286,382 538,505" \
  -fill black -draw "rectangle 553,347 760,503" \
  -fill '#202126' -stroke '#2E3036' -draw "rectangle 765,356 772,494" \
  -stroke none -fill '#3A3C43' -draw "rectangle 768,358 769,492" \
  -fill '#1D1E23' -stroke "$EDGE" -strokewidth 1 \
  -draw "polygon 266,553 278,516 534,516 546,553" \
  -draw "polygon 692,553 702,513 813,513 813,553" \
  -stroke "$RED" -draw "line 279,515 533,515 line 703,512 812,512" \
  -stroke none -draw "$MICE" -draw "$BURST" \
  "$tmp/art.png"

# Outside the outline everything is the mask colour; the rim is drawn last.
convert -size ${W}x${H} xc:"$MASK_COLOUR" "$tmp/art.png" "$tmp/outline.png" -composite \
  \( -size ${W}x${H} xc:"$EDGE" \) "$tmp/rim.png" -composite "$tmp/mask.png"
to_bmp "$tmp/mask.png" "$out/mask.bmp"

# ------------------------------------------------------------------ titles
# The titles stand on the picture area's own colour, so that each
# language's picture, placed at its own spot, blends into it.
title() { # OUT WIDTH HEIGHT FONT SIZE TEXT
  convert -size "$2x$3" xc:"$TITLE_BG" "$tmp/title_bg.png"
  metal_text "$tmp/title_bg.png" "$tmp/title.png" "$4" "$5" north "+0+$7" "$6"
  convert "$tmp/title.png" \
    -fill none -stroke "$RED" -strokewidth 2 \
    -draw "line $(($2 / 2 - 120)),$(($3 - 38)) $(($2 / 2 + 120)),$(($3 - 38))" \
    -stroke none -fill "$GREY_TEXT" -font "$SANS_BOLD" -pointsize 12 -kerning 3 \
    -gravity south -annotate +0+10 'MOUSE CLICK PK TESTER' "$tmp/title2.png"
  to_bmp "$tmp/title2.png" "$out/$1"
}
title title_en.bmp 442 121 "$SANS_COND_BOLD" 31 'Dodiv Uvezirir Avuva Zodi' 24
title title_cn.bmp 381 125 "$CJK" 42 '测试鼠标击发速度' 14
title title_tw.bmp 392 123 "$CJK" 42 '測試滑鼠擊發速度' 14

# ------------------------------------------------------------------- logos
logo() { # OUT WIDTH SUBTITLE-FONT SUBTITLE KERNING
  convert -size "$2x70" xc:"$BODY" "$tmp/logo_bg.png"
  metal_text "$tmp/logo_bg.png" "$tmp/logo.png" "$SANS_BOLD_OBLIQUE" 46 north +0-2 'vorla'
  convert "$tmp/logo.png" \
    -fill "$RED" -stroke none \
    -draw "polygon $(($2 / 2 - 78)),52 $(($2 / 2 + 82)),48 $(($2 / 2 + 80)),51 $(($2 / 2 - 80)),54" \
    -fill "$GREY_TEXT" -font "$3" -pointsize 10 -kerning "$5" \
    -gravity south -annotate +0+2 "$4" "$tmp/logo2.png"
  to_bmp "$tmp/logo2.png" "$out/$1"
}
logo logo_en.bmp 236 "$SANS_BOLD" 'GAMING  GEAR' 3
logo logo_cn.bmp 239 "$CJK" '高 速 先 手' 2

# ----------------------------------------------------------- button strips
# Four frames side by side: normal, hover, pressed, disabled (= normal).
# Black around the rounded plate is the transparent colour: the button is
# shaped to the non-black pixels, and every frame's top-left pixel is black.
# Plates and lettering never use pure black.
plate() { # OUT W H RADIUS FILL STROKE TEXTCOLOUR FONT SIZE DY TEXT
  convert -size "$2x$3" xc:black \
    -fill "$5" -stroke "$6" -strokewidth 1 \
    -draw "roundrectangle 0,0 $(($2 - 1)),$(($3 - 1)) $4,$4" \
    -stroke none -fill "$7" -font "$8" -pointsize "$9" \
    -gravity center -annotate "+0+${10}" "${11}" \
    -fill black -draw "point 0,0" "$1"
}
# The exit plate: a honeycomb plate with slanted top-left and bottom-right
# corners. Each state has an outline of its own, so the button's window
# changes shape on entering, pushing and releasing: hover spreads to the
# frame's full box inside a dim red glow ring, pressed sinks one pixel in
# on every side. The disabled frame repeats the normal one.
# exit_plate OUT INSET CUT CELL LINE STROKE TEXTCOLOUR FONT SIZE DY TEXT [RING]
exit_plate() {
  l=$2 t=$2 r=$((100 - $2)) b=$((33 - $2)) c=$3
  plate="polygon $((l + c)),$t $r,$t $r,$((b - c)) $((r - c)),$b $l,$b $l,$((t + c))"
  # The ring lies one pixel outside the plate, along the same slants; black
  # (no ring) unless given.
  ring="polygon $((l + c)),$((t - 1)) $((r + 1)),$((t - 1)) $((r + 1)),$((b - c))"
  ring="$ring $((r - c)),$((b + 1)) $((l - 1)),$((b + 1)) $((l - 1)),$((t + c))"
  convert -size 103x34 pattern:hexagons +level-colors "$5,$4" "$tmp/comb.png"
  convert -size 101x34 xc:black -fill "${12:-black}" -stroke none -draw "$ring" \
    -tile "$tmp/comb.png" -stroke "$6" -strokewidth 1 -draw "$plate" +tile \
    -stroke none -fill "$7" -font "$8" -pointsize "$9" \
    -gravity center -annotate "+0+${10}" "${11}" \
    -fill black -draw "point 0,0" \
    -background black -gravity west -extent 103x34 "$1"
}
exit_strip() { # OUT FONT SIZE TEXT
  exit_plate "$tmp/f0.png" 1 8 '#222328' '#2A2B31' "$EDGE" "$GREY_TEXT" "$2" "$3" 0 "$4"
  exit_plate "$tmp/f1.png" 1 8 "$RED" '#DC2036' "$RED_LIT" '#FFFFFF' "$2" "$3" 0 "$4" "$RED_DARK"
  exit_plate "$tmp/f2.png" 2 7 "$RED_DARK" '#861020' '#A3142A' '#E6C8CC' "$2" "$3" 1 "$4"
  # The button reaches two pixels past the window's right edge; the plates
  # end where the window does, and the two cut-off columns stay black.
  convert "$tmp/f0.png" "$tmp/f1.png" "$tmp/f2.png" "$tmp/f0.png" +append "$tmp/exit.png"
  to_bmp "$tmp/exit.png" "$out/$1"
}
exit_strip cancel_en.bmp "$SANS_BOLD" 15 'Exit'
exit_strip cancel_cn.bmp "$CJK" 16 '退出'
exit_strip cancel_tw.bmp "$CJK" 16 '離開'

# Web address strip: 937 columns, the fourth picture one column to the
# right of frame 3's cut (at 703, not 702); column 702 is black.
web='www.vorla.example'
plate "$tmp/w0.png" 234 22 6 '#202126' '#44464D' "$GREY_TEXT" "$SANS_BOLD" 11 0 "$web"
plate "$tmp/w1.png" 234 22 6 '#2A1418' "$RED_LIT" "$RED_LIT" "$SANS_BOLD" 11 0 "$web"
plate "$tmp/w2.png" 234 22 6 "$RED_DARK" '#A3142A' '#E6C8CC' "$SANS_BOLD" 11 1 "$web"
convert -size 1x22 xc:black "$tmp/gap.png"
convert "$tmp/w0.png" "$tmp/w1.png" "$tmp/w2.png" "$tmp/gap.png" "$tmp/w0.png" \
  +append "$tmp/web.png"
to_bmp "$tmp/web.png" "$out/webicon.bmp"

# ------------------------------------------------------------------- thumb
# A red bar, lit down the middle; it is drawn over the dark track.
convert -size 28x10 gradient:"$RED_DARK-#FF3A4C" \( +clone -flip \) -append \
  -resize 28x10\! -rotate 90 "$tmp/thumb.png"
to_bmp "$tmp/thumb.png" "$out/thumb.bmp"

# -------------------------------------------------------------------- icon
convert -size 256x256 xc:none -fill "$BODY" -stroke "$RED" -strokewidth 10 \
  -draw "roundrectangle 8,8 247,247 40,40" \
  -stroke none -fill "$RED" -font "$SANS_BOLD_OBLIQUE" -pointsize 210 \
  -gravity center -annotate +0-18 'v' "$tmp/icon256.png"
convert "$tmp/icon256.png" -define icon:auto-resize=256,48,32,24,16 "$out/app.ico"

echo "artwork written to $out"
