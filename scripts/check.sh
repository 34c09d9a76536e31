#!/usr/bin/env bash
# The source checks the test command runs before the tests:
#   1. every C++ file of the tree is formatted as .clang-format says (clang-format, no changes);
#   2. the core modules pass the bug-finding checks of .clang-tidy (every finding an error).
# Needs a configured build tree for its compile commands (default: build/dev).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}

echo "clang-format: every C++ file of the tree"
git ls-files -z -- '*.h' '*.cpp' | xargs -0 clang-format --dry-run -Werror

echo "clang-tidy: the core modules"
core='src/(common|charset|model|export|editor|interchange)/[^/]*\.cpp$'
run-clang-tidy -p "$build" -quiet -j "$(nproc)" "$core" \
    >"$build/clang-tidy.log" 2>&1 || {
    grep -E 'warning:|error:' "$build/clang-tidy.log" | sort -u >&2
    echo "clang-tidy found the problems above (whole output: $build/clang-tidy.log)" >&2
    exit 1
}
echo "Source checks passed"
