#!/usr/bin/env bash
# Draws the window's pictures into app/res/pictures/ with ImageMagick and the WenQuanYi
# Micro Hei font (both installed by tools/setup.sh). Re-running it gives the same bytes.
#   tools/make-pictures.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/app/res/pictures"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[ -f "$font" ] || { echo "missing $font: run tools/setup.sh" >&2; exit 1; }
command -v convert >/dev/null || { echo "missing ImageMagick: run tools/setup.sh" >&2; exit 1; }
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

window_grey='rgb(224,224,224)'
# Same bytes on every run: no time stamps or other run-dependent chunks in PNG data.
stable=(-define 'png:exclude-chunk=date,time,tIME' +set date:create +set date:modify)

# button WIDTH HEIGHT SCALE TOP BOTTOM EDGE INK POINTS GLYPH TEXT OUT
#   A rounded panel with a vertical gradient TOP to BOTTOM, an EDGE line and a TEXT in INK,
#   on the window's grey. SCALE 1 draws the 96-dpi picture, 2 the 192-dpi one. GLYPH
#   "play" puts a small triangle before the text.
button() {
  local w=$(($1 * $3)) h=$(($2 * $3)) s=$3 top=$4 bottom=$5 edge=$6 ink=$7 points=$8
  local glyph=$9 text=${10} file=${11}
  local r=$((6 * s)) text_x=0
  convert -size "${w}x${h}" xc:black -fill white \
    -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" "$work/mask.png"
  local draw_glyph=()
  if [ "$glyph" = play ]; then
    local gx=$((11 * s)) gy=$((h / 2)) gh=$((5 * s)) gw=$((8 * s))
    draw_glyph=(-fill "$ink" -stroke none
                -draw "polygon $gx,$((gy - gh)) $((gx + gw)),$gy $gx,$((gy + gh))")
    text_x=$((6 * s))
  fi
  convert -size "${w}x${h}" xc:"$window_grey" \
    \( -size "${w}x${h}" gradient:"$top"-"$bottom" \) "$work/mask.png" -composite \
    -fill none -stroke "$edge" -strokewidth "$s" \
    -draw "roundrectangle $((s / 2)).5,$((s / 2)).5 $((w - 1 - s / 2)).5,$((h - 1 - s / 2)).5 $r,$r" \
    -stroke 'rgba(255,255,255,0.45)' -strokewidth "$s" \
    -draw "line $((r)),$((s + s / 2)) $((w - 1 - r)),$((s + s / 2))" \
    "${draw_glyph[@]}" \
    -stroke none -fill "$ink" -font "$font" -pointsize $((points * s)) -gravity center \
    -annotate "+${text_x}+0" "$text" \
    -alpha off -type TrueColor "BMP3:$file"
}

for s in 1 2; do
  suffix=""; [ "$s" = 2 ] && suffix=_2x
  button 88 33 "$s" '#43B77A' '#2A8553' '#1F6B42' white 13 play "开始转换" \
    "$out/start_idle$suffix.bmp"
  button 88 33 "$s" '#E9ECEE' '#CDD2D6' '#AEB4BA' '#8A9096' 13 none "正在转换…" \
    "$out/start_running$suffix.bmp"
  button 67 33 "$s" '#5B9BE0' '#3872B8' '#2C5E9A' white 12 none "选择目录" \
    "$out/set_path$suffix.bmp"
  button 67 33 "$s" '#5B9BE0' '#3872B8' '#2C5E9A' white 12 none "刷新列表" \
    "$out/refresh$suffix.bmp"
done

# The header strip, 30 x 21, stretched over every header bar: a light cool gradient with a
# bright top edge and a darker bottom edge.
convert -size 30x21 gradient:'#F7F9FB'-'#D3DCE4' \
  -fill '#FFFFFF' -draw "line 0,0 29,0" -fill '#AFBCC8' -draw "line 0,20 29,20" \
  -alpha off -type TrueColor "BMP3:$out/strip.bmp"

# The program icon: a blue tile with a white page, its lines, and a green arrow (rename).
# MVG drawn on a 256 grid and scaled, so every size is drawn, not shrunk.
icon_mvg() {
  local k=$1
  cat <<MVG
scale $k,$k
fill '#2F6DB5' stroke '#1F4F88' stroke-width 6 roundrectangle 12,12 244,244 44,44
fill '#FFFFFF' stroke none path 'M 64,40 L 156,40 L 196,80 L 196,216 L 64,216 Z'
fill '#C9D9EC' path 'M 156,40 L 156,80 L 196,80 Z'
fill '#9FB6D1' rectangle 88,104 172,116 rectangle 88,132 172,144 rectangle 88,160 140,172
fill '#2FA866' stroke '#1E7A48' stroke-width 6
path 'M 104,180 L 164,180 L 164,154 L 216,196 L 164,238 L 164,212 L 104,212 Z'
MVG
}
icon_frame() {  # SIZE OUT
  local size=$1
  local mvg
  mvg=$(icon_mvg "$(awk -v s="$size" 'BEGIN { printf "%.6f", s / 256 }')")
  convert -size "${size}x${size}" xc:none -draw "$mvg" "${stable[@]}" "$2"
}
for size in 16 32 48 256; do icon_frame "$size" "$work/icon$size.png"; done
# The 32 x 32 image in 256 colours with a one-bit mask, as older shells show it (the
# quantised image must go straight into the icon: read back from a file it is 32-bit again).
convert "$work/icon16.png" \
  \( "$work/icon32.png" -channel A -threshold 50% +channel +dither -colors 255 \) \
  "$work/icon48.png" "$work/icon256.png" "${stable[@]}" "ICO:$out/tarnivo.ico"

# The pointer of the image buttons: a pointing hand, 32 x 32, hot spot on the finger tip.
# Written as an icon, then turned into a cursor: type 2 and the hot spot in the entry.
hand="M 10.5,3.5 Q 10.5,1.5 12.5,1.5 Q 14.5,1.5 14.5,3.5 L 14.5,12.5"      # index finger
hand+=" L 15.5,11.5 Q 17.5,10.5 18.5,12.5 L 19.5,12.5 Q 21.5,11.5 22.5,13.5"  # knuckles
hand+=" L 23.5,13.5 Q 25.5,13.5 25.5,15.5 L 25.5,22.5 Q 25.5,25.5 23.5,27.5"  # little finger
hand+=" L 23.5,29.5 L 11.5,29.5 L 11.5,27.5"                                  # wrist
hand+=" Q 8.5,25.5 6.5,21.5 L 4.5,17.5 Q 4.5,15.5 6.5,15.5 Q 8.5,16.5 10.5,19.5 Z"  # thumb
convert -size 32x32 xc:none +antialias -stroke black -strokewidth 1 -fill white \
  -draw "path '$hand'" \
  -draw "line 14.5,13.5 14.5,17.5" -draw "line 18.5,13.5 18.5,17.5" \
  -draw "line 22.5,14.5 22.5,17.5" \
  "${stable[@]}" "$work/pointer.png"
convert "$work/pointer.png" "${stable[@]}" "ICO:$work/pointer.ico"
hotspot_x=12 hotspot_y=1
cp "$work/pointer.ico" "$out/pointer.cur"
printf '\x02\x00' | dd of="$out/pointer.cur" bs=1 seek=2 conv=notrunc status=none
printf '%b' "$(printf '\\x%02x\\x00\\x%02x\\x00' "$hotspot_x" "$hotspot_y")" |
  dd of="$out/pointer.cur" bs=1 seek=10 conv=notrunc status=none

echo "pictures written to $out"
