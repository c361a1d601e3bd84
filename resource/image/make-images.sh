#!/usr/bin/env bash
# Draws the program's pictures (flat buttons, icons, frame bar, logos) with ImageMagick.
# Run from anywhere; writes the PNG files next to this script.
set -euo pipefail
cd "$(dirname "$0")"
IM=/usr/bin/convert
FONT=DejaVu-Sans-Bold

# button NAME WIDTH HEIGHT TOP BOTTOM BORDER: rounded button with a vertical gradient.
button() {
  local name=$1 w=$2 h=$3 top=$4 bottom=$5 border=$6
  local r=$(( h / 5 ))
  $IM -size "${w}x${h}" gradient:"$top-$bottom" \
    \( -size "${w}x${h}" xc:black -fill white -draw "roundrectangle 0,0,$((w-1)),$((h-1)),$r,$r" \) \
    -alpha off -compose CopyOpacity -composite -compose Over \
    -fill none -stroke "$border" -strokewidth $(( h / 30 + 2 )) \
    -draw "roundrectangle 2,2,$((w-3)),$((h-3)),$r,$r" \
    "$name"
}

# icon NAME COLOUR DRAW...: 128x128 transparent icon drawn in one colour.
icon() {
  local name=$1 colour=$2; shift 2
  $IM -size 128x128 xc:none -fill "$colour" -stroke "$colour" "$@" "$name"
}

house=(-strokewidth 1 -draw "polygon 64,14 118,62 102,62 102,114 76,114 76,82 52,82 52,114 26,114 26,62 10,62")
help=(-strokewidth 10 -fill none -draw "circle 64,64 64,12" -fill "COL" -stroke none
      -font "$FONT" -pointsize 72 -gravity center -annotate +0+4 "?")
device=(-fill none -strokewidth 8 -draw "roundrectangle 12,28 116,100 10,10"
        -strokewidth 6 -draw "rectangle 26,42 74,86"
        -fill "COL" -strokewidth 1 -draw "circle 96,52 96,59" -draw "circle 96,78 96,85"
        -strokewidth 8 -draw "line 40,100 30,118" -draw "line 88,100 98,118")
measure=(-strokewidth 1 -draw "rectangle 16,80 36,112" -draw "rectangle 46,56 66,112"
         -draw "rectangle 76,34 96,112" -draw "rectangle 104,14 120,112")
gear=(-strokewidth 16 -fill none -draw "circle 64,64 64,30"
      -strokewidth 14 -draw "line 64,6 64,24" -draw "line 64,104 64,122"
      -draw "line 6,64 24,64" -draw "line 104,64 122,64"
      -draw "line 23,23 36,36" -draw "line 92,92 105,105"
      -draw "line 23,105 36,92" -draw "line 92,36 105,23")

with_colour() { local c=$1; shift; local out=(); for a in "$@"; do out+=("${a//COL/$c}"); done; printf '%s\0' "${out[@]}"; }

draw_icon() {
  local name=$1 colour=$2; shift 2
  local args=()
  while IFS= read -r -d '' a; do args+=("$a"); done < <(with_colour "$colour" "$@")
  icon "$name" "$colour" "${args[@]}"
}

# Frame buttons HOME / help: idle (82) and pressed (81).
button button_82.png 480 144 "#3f6f9f" "#23466b" "#7fa7cf"
button button_81.png 480 144 "#1b3553" "#10243a" "#a2c4ea"
draw_icon icon_84.png "#ffffff" "${house[@]}"
draw_icon icon_49.png "#a2c4ea" "${house[@]}"
draw_icon icon_83.png "#ffffff" "${help[@]}"
draw_icon icon_50.png "#a2c4ea" "${help[@]}"

# Home menu buttons: idle (07) and pressed (96), with their icons.
button button_07.png 1040 336 "#4a86c5" "#245a93" "#8cb8e4"
button button_96.png 1040 336 "#1e4a78" "#143557" "#5d8fc2"
draw_icon icon_71.png "#ffffff" "${device[@]}"
draw_icon icon_94.png "#cfe2f5" "${device[@]}"
draw_icon icon_73.png "#ffffff" "${measure[@]}"
draw_icon icon_95.png "#cfe2f5" "${measure[@]}"
draw_icon icon_04.png "#ffffff" "${gear[@]}"
draw_icon icon_93.png "#cfe2f5" "${gear[@]}"

# Zoom buttons: out (134 idle, 124 pressed) and in (133 idle, 123 pressed).
zoom() {
  local name=$1 top=$2 bottom=$3 sign=$4
  button "$name" 128 128 "$top" "$bottom" "#a2c4ea"
  local lines=(-draw "line 34,64 94,64")
  [ "$sign" = plus ] && lines+=(-draw "line 64,34 64,94")
  $IM "$name" -stroke white -strokewidth 14 "${lines[@]}" "$name"
}
zoom button_134.png "#3f6f9f" "#23466b" minus
zoom button_124.png "#1b3553" "#10243a" minus
zoom button_133.png "#3f6f9f" "#23466b" plus
zoom button_123.png "#1b3553" "#10243a" plus

# Pop-up buttons: idle (19) and pressed (37); pop-up background (45).
button button_19.png 400 136 "#4a86c5" "#245a93" "#8cb8e4"
button button_37.png 400 136 "#2b4f75" "#1b3553" "#5d8fc2"
$IM -size 600x300 xc:none -fill "#f7f9fc" -stroke "#35506e" -strokewidth 6 \
  -draw "roundrectangle 3,3 596,296 24,24" -fill "#35506e" -stroke none \
  -draw "roundrectangle 3,3 596,22 12,12" popupBk_45.png

# Frame bar along the top of the window.
$IM -size 44x1010 gradient:"#2e4b6b-#18293d" -rotate 90 \
  -fill "#7fa7cf" -draw "rectangle 0,42 1010,43" frame_80.png

# Logos: splash (127) and the home page corner (115).
$IM -size 640x220 xc:none -fill "#1f4f82" -draw "roundrectangle 0,0 639,219 30,30" \
  -fill white -font "$FONT" -pointsize 120 -gravity center -annotate +0-10 "NRT52" \
  -fill "#a2c4ea" -pointsize 26 -annotate +0+80 "LEVEL CHECKER MONITOR" logo_127.png
$IM -size 300x90 xc:none -fill "#1f4f82" -font "$FONT" -pointsize 62 -gravity center \
  -annotate +0+0 "NRT52" logo_115.png
