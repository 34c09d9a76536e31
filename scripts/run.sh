#!/usr/bin/env bash
# Builds the programs (release) and runs the command-line tool. Without arguments it makes a
# demonstration font and shows its figures; with arguments they go to `typeloom`.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release

typeloom=build/release/bin/typeloom
if [ $# -gt 0 ]; then
    exec "$typeloom" "$@"
fi
mkdir -p build/demo
"$typeloom" new --name Demo --from 32 --to 127 --width 8 --height 12 -o build/demo/Demo12h.tlf
"$typeloom" info build/demo/Demo12h.tlf
echo
echo "Try: $typeloom --help"
