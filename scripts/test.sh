#!/usr/bin/env bash
# Builds everything and runs every test:
#   1. the optimised build: unit, CLI, corpus and desktop tests (benchmarks are built, not
#      run), after the source checks (clang-format over the tree, clang-tidy over the core);
#   2. the AddressSanitizer + UndefinedBehaviorSanitizer build: the core and CLI tests;
#   3. the libFuzzer build: a short smoke run of every fuzz harness.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test

step() { printf '\n=== %s ===\n' "$*"; }

step "Optimised build and tests"
cmake --preset dev >/dev/null
cmake --build --preset dev
scripts/check.sh build/dev
ctest --preset dev

step "Sanitizer build, core and CLI tests"
cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan

step "Fuzz harness smoke runs"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

step "All tests passed"
