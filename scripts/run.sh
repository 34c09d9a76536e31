#!/usr/bin/env bash
# Builds the programs (release) and starts the desktop application. Arguments go to the
# application (a project file to open). `scripts/run.sh --cli ARGS` runs the command-line tool
# instead; `scripts/run.sh --cli` alone makes a demonstration font and shows its figures.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release

bin=build/release/bin
if [ "${1:-}" = "--cli" ]; then
    shift
    if [ $# -gt 0 ]; then
        exec "$bin/typeloom" "$@"
    fi
    mkdir -p build/demo
    "$bin/typeloom" new --name Demo --from 32 --to 127 --width 8 --height 12 \
        -o build/demo/Demo12h.tlf
    "$bin/typeloom" info build/demo/Demo12h.tlf
    echo
    echo "Try: $bin/typeloom --help"
    exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: start the application from a desktop session, or run" >&2
    echo "  tools/screenshot.sh   (a screenshot under a virtual display)" >&2
    echo "  scripts/run.sh --cli  (the command-line tool)" >&2
    exit 1
fi
exec "$bin/typeloom-studio" "$@"
