#!/usr/bin/env bash
# Static checks of the core (src/codec platform journal render log zelmar datecs blocks link session
# app): the order of the folders' includes (scripts/folder-order.sh); clang-tidy with the checks of
# .clang-tidy, on every core file of the build's compile database, in parallel; then cppcheck.
# Fails on any finding of any.
#
#   scripts/static-checks.sh
#
# Build folder for the compile database: build/ (or $MORVEK_BUILD), configured when missing;
# parallel jobs: the number of processors (or $MORVEK_JOBS).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${MORVEK_BUILD:-build}"
jobs="${MORVEK_JOBS:-$(nproc)}"
core="codec|platform|journal|render|log|zelmar|datecs|blocks|link|session|app"
start=$SECONDS

if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi

status=0
printf '\n== folder order\n'
scripts/folder-order.sh || status=1

printf '\n== clang-tidy (%s jobs)\n' "$jobs"
if ! run-clang-tidy-14 -quiet -p "$build" -j "$jobs" "$root/src/($core)/[^/]*\\.cpp\$" \
    >"$build/clang-tidy.log" 2>&1; then
  # run-clang-tidy always asks for colour; the log keeps it, the findings shown are plain.
  sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E ': (warning|error):' -A3 ||
    cat "$build/clang-tidy.log"
  echo "clang-tidy: findings (whole output in $build/clang-tidy.log)"
  status=1
fi

printf '\n== cppcheck\n'
dirs=()
for dir in ${core//|/ }; do dirs+=("src/$dir"); done
# Findings only, no notes about the analysis itself; the suppressions are justified in the file.
if ! cppcheck --quiet --std=c++20 --language=c++ -I src -j "$jobs" \
    --enable=warning,performance,portability --inline-suppr \
    --suppressions-list=scripts/cppcheck-suppressions.txt --error-exitcode=1 \
    --template='{file}:{line}: {severity} ({id}): {message}' "${dirs[@]}"; then
  echo "cppcheck: findings"
  status=1
fi

printf '\n== static checks %s in %d s\n' "$([ "$status" -eq 0 ] && echo passed || echo FAILED)" \
  $((SECONDS - start))
exit "$status"
