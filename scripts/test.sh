#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer; then the session tests, which run sessions in parallel, in a build
# with ThreadSanitizer. The plain build (the programs, the benchmarks and the fuzz seed replays) is
# built and its replays run too, but its test programs are not: compiling every test twice took a
# third of the time of continuous integration, and the sanitized run finds all the plain one would.
# The archive tests also run against a PostgreSQL cluster of their own (scripts/postgres.sh),
# removed at the end.
#
#   scripts/test.sh
#
# Build folders: build/, build-asan/ and build-tsan/ (or $MORVEK_BUILD, $MORVEK_ASAN_BUILD and
# $MORVEK_TSAN_BUILD); parallel jobs:
# the number of processors (or $MORVEK_JOBS). Exits non-zero when any test fails.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${MORVEK_BUILD:-build}"
asan="${MORVEK_ASAN_BUILD:-build-asan}"
tsan="${MORVEK_TSAN_BUILD:-build-tsan}"
jobs="${MORVEK_JOBS:-$(nproc)}"

step() { printf '\n== %s\n' "$*"; }

step "setup"
scripts/setup.sh

# Widgets run without a display; sanitizer reports stop the test that raised them.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}"

# The archive tests run against a throwaway PostgreSQL cluster as well, stopped however this ends.
step "postgresql"
pgdir="$(mktemp -d)"
trap 'scripts/postgres.sh stop "$pgdir" >/dev/null 2>&1 || true' EXIT
trap 'exit 1' INT TERM
MORVEK_TEST_POSTGRES="$(scripts/postgres.sh start "$pgdir")"
export MORVEK_TEST_POSTGRES MORVEK_REQUIRE_POSTGRES=1
echo "$MORVEK_TEST_POSTGRES"

status=0

step "build ($build)"
# Line tables are all a failing test's backtrace needs; full debug information doubles the build.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEK_TESTS=OFF \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
cmake --build "$build" -j"$jobs"
step "tests ($build)"
ctest --test-dir "$build" --output-on-failure -j"$jobs" || status=1

step "build with AddressSanitizer and UndefinedBehaviorSanitizer ($asan)"
cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEK_SANITIZE=address \
  -DMORVEK_BENCH=OFF
cmake --build "$asan" -j"$jobs"
step "tests ($asan)"
ctest --test-dir "$asan" --output-on-failure -j"$jobs" || status=1

step "build of the core and the session tests with ThreadSanitizer ($tsan)"
cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEK_SANITIZE=thread
cmake --build "$tsan" -j"$jobs"
step "tests ($tsan)"
ctest --test-dir "$tsan" --output-on-failure -j"$jobs" || status=1

if [ "$status" -eq 0 ]; then step "all tests passed"; else step "TESTS FAILED"; fi
exit "$status"
