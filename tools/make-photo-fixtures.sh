#!/usr/bin/env bash
# The photo date fixtures: tiny images (ImageMagick, or made here where it has no
# writer) that exiftool writes dates into, and expected.tsv, exiftool's own reading
# of them with the reader's precedence applied.
#   tools/make-photo-fixtures.sh                   remakes tests/engine/photo_dates/
#   tools/make-photo-fixtures.sh manifest FILE...  prints "name<TAB>date" lines from exiftool
set -euo pipefail

# One reading: DateTimeOriginal, else CreateDate (DateTimeDigitized), else the IFD0
# ModifyDate (DateTime), each only when it is a real date; "none" without one.
manifest() {
  local tags=(-ExifIFD:DateTimeOriginal -ExifIFD:CreateDate -IFD0:ModifyDate)
  # exiftool rolls impossible dates over when it formats them (31 April becomes 1 May).
  paste <(exiftool -T -n -FileName "${tags[@]}" "$@") \
    <(exiftool -T -d '%Y:%m:%d %H:%M:%S' "${tags[@]}" "$@") |
    while IFS=$'\t' read -r name raw0 raw1 raw2 formatted0 formatted1 formatted2; do
      local raw=("$raw0" "$raw1" "$raw2") formatted=("$formatted0" "$formatted1" "$formatted2")
      local pick=none i
      for i in 0 1 2; do
        if [[ ${raw[i]} =~ ^([0-9]{4}):[0-9]{2}:[0-9]{2}\ [0-9]{2}:[0-9]{2}:([0-9]{2})$ ]] &&
          [ "${BASH_REMATCH[1]}" != 0000 ] && [ "${BASH_REMATCH[2]}" -lt 60 ] &&
          [ "${raw[i]}" = "${formatted[i]}" ]; then
          pick=${raw[i]}
          break
        fi
      done
      printf '%s\t%s\n' "$name" "$pick"
    done
}

if [ "${1:-}" = manifest ]; then
  shift
  manifest "$@"
  exit 0
fi

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/tests/engine/photo_dates"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

original='2021:03:04 05:06:07'
digitized='2022:01:02 03:04:05'
modified='2023:11:12 13:14:15'

# exiftool's arguments for each combination of tags (-n writes zero and blank dates as given).
case_args() {
  case $1 in
    all) args=(-ExifIFD:DateTimeOriginal="$original" -ExifIFD:CreateDate="$digitized"
               -IFD0:ModifyDate="$modified") ;;
    original) args=(-ExifIFD:DateTimeOriginal="$original") ;;
    digitized) args=(-ExifIFD:CreateDate="$digitized") ;;
    modify) args=(-IFD0:ModifyDate="$modified") ;;
    zero) args=(-ExifIFD:DateTimeOriginal='0000:00:00 00:00:00' -ExifIFD:CreateDate="$digitized"
                -IFD0:ModifyDate="$modified") ;;
    blank) args=(-ExifIFD:DateTimeOriginal='    :  :     :  :  '
                 -ExifIFD:CreateDate='    :  :     :  :  '
                 -IFD0:ModifyDate="$modified") ;;
    invalid) args=(-ExifIFD:DateTimeOriginal='2021:02:29 10:00:00'
                   -ExifIFD:CreateDate='2022:04:31 03:04:05'
                   -IFD0:ModifyDate="$modified") ;;
    none) args=(-Artist=Tarnivo) ;;
  esac
}

# write NAME BASE CASE [ORDER]: a copy of BASE with the case's tags, in byte order II or MM
# where the container lets exiftool choose.
write() {
  local args
  case_args "$3"
  cp "$work/$2" "$out/$1"
  exiftool -q -overwrite_original -n ${4:+-ExifByteOrder="$4"} "${args[@]}" "$out/$1"
}

# patch FILE OFFSET TEXT: overwrites bytes in place (printf escapes allowed).
patch() { printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

# Bases: 8x8 grey, no metadata.
convert -size 8x8 xc:gray -strip -quality 10 "$work/base.jpg"
convert -size 8x8 xc:gray -strip "$work/base.png"
convert -size 8x8 xc:gray -strip "$work/base.webp"
convert -size 8x8 xc:gray -strip "$work/base.heic"
convert -size 8x8 xc:gray -strip -depth 8 -compress none "$work/ii.tif"
convert -size 8x8 xc:gray -strip -depth 8 -compress none -define tiff:endian=msb "$work/mm.tif"
# Olympus marks in place of 42; exiftool writes these as ORF.
cp "$work/ii.tif" "$work/iiro.orf" && patch "$work/iiro.orf" 2 'RO'
cp "$work/ii.tif" "$work/iirs.orf" && patch "$work/iirs.orf" 2 'RS'
cp "$work/mm.tif" "$work/mmor.orf" && patch "$work/mmor.orf" 2 'OR'
# CR2: "CR" 2 0 after the TIFF header and four IFDs, the last for the raw image.
python3 - "$work/base.cr2" <<'EOF'
import struct, sys
def ifd(at, following):
    short = lambda tag, v: struct.pack('<HHIHH', tag, 3, 1, v, 0)
    entries = [short(0x100, 8), short(0x101, 8), short(0x102, 8), short(0x103, 1),
               short(0x106, 1), struct.pack('<HHII', 0x111, 4, 1, 16), short(0x115, 1),
               short(0x116, 8), struct.pack('<HHII', 0x117, 4, 1, 64)]
    return struct.pack('<H', len(entries)) + b''.join(entries) + struct.pack('<I', following)
size = len(ifd(0, 0))
first = 16 + 64
offsets = [first + k * size for k in range(4)]
body = b''.join(ifd(o, offsets[k + 1] if k < 3 else 0) for k, o in enumerate(offsets))
header = b'II' + struct.pack('<HI', 42, first) + b'CR\x02\x00' + struct.pack('<I', offsets[3])
open(sys.argv[1], 'wb').write(header + b'\x80' * 64 + body)
EOF

rm -rf "$out"
mkdir -p "$out"
for order in II MM; do
  o=${order,,}
  for c in all original digitized modify zero blank invalid none; do
    write "jpeg_${o}_$c.jpg" base.jpg $c $order
  done
  for c in all modify blank none; do write "png_${o}_$c.png" base.png $c $order; done
  for c in all digitized zero; do write "webp_${o}_$c.webp" base.webp $c $order; done
  for c in all original modify invalid none; do write "heic_${o}_$c.heic" base.heic $c $order; done
  for c in all digitized modify zero none; do write "tiff_${o}_$c.tif" "$o.tif" $c; done
done
cp "$work/base.jpg" "$out/jpeg_no_exif.jpg"
cp "$work/base.png" "$out/png_no_exif.png"
for c in all modify; do
  write "orf_iiro_$c.orf" iiro.orf $c
  write "orf_iirs_$c.orf" iirs.orf $c
  write "orf_mmor_$c.orf" mmor.orf $c
done
for c in all digitized modify; do write "cr2_ii_$c.cr2" base.cr2 $c; done
for ext in dng nef arw pef; do
  cp "$work/ii.tif" "$work/ii.$ext"
  write "${ext}_ii_all.$ext" "ii.$ext" all
  write "${ext}_ii_modify.$ext" "ii.$ext" modify
done
cp "$work/mm.tif" "$work/mm.dng"
write dng_mm_original.dng mm.dng original
# RW2: exiftool writes no Panasonic raw it did not make, so the header of a TIFF it wrote
# becomes "IIU\0". exiftool reads IFD0 of these as Panasonic tags, so only Exif IFD dates.
for c in all digitized; do
  write "rw2_ii_$c.rw2" ii.tif $c
  patch "$out/rw2_ii_$c.rw2" 2 'U\000'
done

(cd "$out" && manifest $(ls | grep -v '\.tsv$')) >"$out/expected.tsv"
echo "$(ls "$out" | wc -l) files, $(du -sb "$out" | cut -f1) bytes in $out"
