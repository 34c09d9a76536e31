#!/usr/bin/env bash
# Writes every export of a fixed set of fonts into OUT_DIR, so that a change that must not
# alter any output byte can be checked: run it with the program before and after the change,
# then compare the two folders (diff -r).
#   tools/export_snapshot.sh TYPELOOM OUT_DIR
# The fonts: a BDF and a .fon from Debian's font packages, a font made from scratch, one
# rasterised from DejaVu Sans Mono and three small projects of the fuzz seeds (Ascii+ISO8859
# fixed and variable width, Shift_JIS). Each is written in every format, and the table-based C
# file under every data layout and table choice.
set -euo pipefail
seeds="$(cd "$(dirname "$0")/.." && pwd)/fuzz/corpus/project_reader"
typeloom=$(realpath "$1")
out=$2
rm -rf "$out"
mkdir -p "$out/fonts"
# No stored settings: every default comes from the program itself.
export HOME="$out/home" XDG_CONFIG_HOME="$out/home/.config"
mkdir -p "$HOME"

bdf_source=/usr/share/fonts/X11/misc/6x13-ISO8859-1.pcf.gz
fon_source=/usr/share/wine/fonts/coure.fon
zcat "$bdf_source" | pcf2bdf -o "$out/fonts/6x13.bdf"
cp "$fon_source" "$out/fonts/coure.fon"
"$typeloom" import "$out/fonts/6x13.bdf" -o "$out/fonts/bdf.tlf" >/dev/null
"$typeloom" import "$out/fonts/coure.fon" -o "$out/fonts/fon.tlf" >/dev/null
"$typeloom" rasterize --family "DejaVu Sans Mono" --points 12 -o "$out/fonts/raster.tlf" >/dev/null
"$typeloom" new -o "$out/fonts/scratch.tlf" --from 32 --to 300 --width 20 --height 9 >/dev/null

cp "$seeds/v20_ansi.tlf" "$out/fonts/ansi.tlf"
cp "$seeds/v3b_variable_width.tlf" "$out/fonts/ansi_variable.tlf"
cp "$seeds/v3_shift_jis.tlf" "$out/fonts/shift_jis.tlf"

formats=(table-c table-asm table-bin general-c general-bin microchip-c microchip-bin
         v2-c v2-asm v2-dat hex fnt fon bmp)
for font in bdf fon raster scratch ansi ansi_variable shift_jis; do
    project="$out/fonts/$font.tlf"
    [ -f "$project" ] || continue
    for format in "${formats[@]}"; do
        target="$out/$font/$format"
        mkdir -p "$out/$font"
        "$typeloom" export "$project" -o "$target" --format "$format" --skip-wide \
            >"$target.log" 2>&1 || echo "exit $?" >>"$target.log"
    done
    for word in 0x01121110 0x00000000 0x01010101 0x10101010 0x11111111 0x02020202 0x04040404 \
                0x00121100 0x01000111; do
        for lang in table-c table-asm general-c; do
            target="$out/$font/layout-$word.$lang"
            "$typeloom" export "$project" -o "$target" --format "$lang" --data-format "$word" \
                >"$target.log" 2>&1 || echo "exit $?" >>"$target.log"
        done
    done
    for tables in none offset width ascii,extended offset,width,ascii,extended; do
        target="$out/$font/tables-${tables//,/_}"
        "$typeloom" export "$project" -o "$target.c" --format table-c --tables "$tables" \
            --uchar >"$target.log" 2>&1 || echo "exit $?" >>"$target.log"
        "$typeloom" export "$project" -o "$target.asm" --format table-asm --tables "$tables" \
            >>"$target.log" 2>&1 || echo "exit $?" >>"$target.log"
    done
    "$typeloom" export "$project" -o "$out/$font/general-c99.c" --format general-c --c99 \
        >/dev/null 2>&1 || true
    "$typeloom" export "$project" -o "$out/$font/start.hex" --format hex \
        --start-address 0x8000 --skip-wide >/dev/null 2>&1 || true
done
rm -rf "$out/home"
# The programs' messages name the files they wrote: keep them comparable between folders.
find "$out" -name '*.log' -exec sed -i "s|$out|OUT|g" {} +
# The header comments carry the time (and the Microchip files the date) of the export.
grep -rlZ 'Create time: ' "$out" | xargs -0 -r sed -i -E \
    's/Create time: [0-9]{2}:[0-9]{2} [0-9]{2}-[0-9]{2}-[0-9]{4}/Create time: HH:MM MM-DD-YYYY/'
grep -rlZ '^// Date: ' "$out" | xargs -0 -r sed -i -E 's|^// Date: .*$|// Date: D MONTH YYYY|'
