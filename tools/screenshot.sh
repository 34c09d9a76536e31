#!/usr/bin/env bash
# Starts the desktop application under a virtual X display (Xvfb), opens a project (a sample
# font made with the command-line tool when none is given), and saves a PNG screenshot of the
# main window.
#   tools/screenshot.sh [-o shot.png] [-z ZOOM] [-w WORD] [-c COMMAND] [-t TEXT] [-p X,Y]
#                       [-r] [-b BUTTON] [-k KEY] [project.tlf]
# -w sets the data-format word ("BmpDataFlag", e.g. 0x01021110); -c runs a command once the
# window is up, by its action name without "action" (DataFormat opens the "Bitmap Data Format"
# dialog, saved beside the main window as *-dialog.png); -p rests the pointer on a cell of the
# pixel grid (the bit inspector); -t types TEXT into the focused field of the dialog that -c
# opened (a value for its preview, say; a line feed in TEXT presses Return, which accepts a file
# dialog); -b presses the button of that name in the dialog open just before the picture
# (-c ExportGeneralC -t $'/tmp/x.c\n' -b buttonVerify shows "Export Finished" after Verify);
# -k presses a key in that dialog ("F1" opens its help over it);
# -r first runs the program on the project, mirrors it, waits for its recovery copy and kills
# it, so that the picture shows the start-up offer of the copy (saved as *-dialog.png).
# QT_SCALE_FACTOR=2 takes the pictures at twice the size.
# Uses the dev build (build/dev/bin); build it first with `cmake --build --preset dev`.
set -euo pipefail
cd "$(dirname "$0")/.."

out=build/screenshots/main-window.png
zoom=""
word=""
recover=""
while getopts "o:z:w:c:t:p:rb:k:" opt; do
    case $opt in
    o) out=$OPTARG ;;
    z) zoom=$OPTARG ;;
    w) word=$OPTARG ;;
    c) export TYPELOOM_SCREENSHOT_COMMAND=$OPTARG ;;
    t) export TYPELOOM_SCREENSHOT_TYPE=$OPTARG ;;
    p) export TYPELOOM_SCREENSHOT_HOVER=$OPTARG ;;
    r) recover=1 ;;
    b) export TYPELOOM_SCREENSHOT_CLICK=$OPTARG ;;
    k) export TYPELOOM_SCREENSHOT_KEY=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))

bin=${TYPELOOM_BIN:-build/dev/bin}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$out")"

project=${1:-}
if [ -z "$project" ]; then
    project=$work/Sample.tlf
    "$bin/typeloom" rasterize --family "DejaVu Sans Mono" --points 12 -o "$project" >/dev/null
fi

# A settings file of its own, so the run neither reads nor changes the user's settings.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/Typeloom"
{
    echo "[Settings]"
    echo "AutoOpen=0"
    [ -n "$zoom" ] && echo "Grid%20zoom=$zoom"
    [ -n "$word" ] && echo "BmpDataFlag=$((word))"
} >"$XDG_CONFIG_HOME/Typeloom/Typeloom Studio.conf"

# Recovery copies of its own too.
export XDG_STATE_HOME=$work/state
if [ -n "$recover" ]; then
    QT_QPA_PLATFORM=offscreen TYPELOOM_RUN_COMMANDS=MirrorHorizontal \
        "$bin/typeloom-studio" "$project" &
    crashed=$!
    for _ in $(seq 300); do
        compgen -G "$XDG_STATE_HOME/typeloom-studio/recovery/*.info" >/dev/null && break
        sleep 0.1
    done
    kill -9 "$crashed"
    wait "$crashed" 2>/dev/null || true
fi

export TYPELOOM_SCREENSHOT=$out
export TYPELOOM_SCREENSHOT_DELAY_MS=${TYPELOOM_SCREENSHOT_DELAY_MS:-1500}
xvfb-run -a -s "-screen 0 1280x900x24" "$bin/typeloom-studio" "$project"
echo "Screenshot: $out"
