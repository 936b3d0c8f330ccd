#!/usr/bin/env bash
# Static checks of the core (src/codec platform journal render log zelmar datecs blocks link session
# app): the order of the folders' includes (scripts/folder-order.sh); clang-tidy with the checks of
# .clang-tidy, on every core file of the build's compile database, in parallel; then cppcheck; the
# manual pages (man --warnings); the translation (scripts/translations.py check); and the example
# systemd units (systemd-analyze verify). Fails on any finding of any.
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

# The manual pages: the warnings of man and groff (a macro or string not defined, a character not
# known) are faults of the page; a clean page prints nothing on standard error.
printf '\n== manual pages\n'
tmp="$(mktemp)"
for page in man/*.1; do
  if ! LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >/dev/null 2>"$tmp" ||
    [ -s "$tmp" ]; then
    echo "$page:"
    cat "$tmp"
    status=1
  fi
done
rm -f "$tmp"

# The translation: every text the sources mark has its Ukrainian, and every Ukrainian text still
# belongs to one (the program falls back to Russian without a word otherwise).
printf '\n== translations\n'
if ! python3 scripts/translations.py check translations/morvek_uk.ts $(git ls-files 'src/*.cpp' 'src/*.h'); then
  echo "translations/morvek_uk.ts: out of step with the sources (scripts/translations.py add)"
  status=1
fi

# The example units of the nightly collector, as a system's and as a user's manager reads them;
# the program they start stands in from the build (or /bin/true) until a package installs it.
printf '\n== systemd units\n'
units="$(mktemp -d)"
program="$(cd "$build/src" 2>/dev/null && pwd)/morvek-cli"
[ -x "$program" ] || program=/bin/true
for unit in examples/systemd/*; do
  sed "s|/usr/bin/morvek-cli|$program|" "$unit" >"$units/$(basename "$unit")"
done
mkdir "$units/runtime"
if ! systemd-analyze verify --man=no "$units"/morvek-collect.* ||
  ! XDG_RUNTIME_DIR="$units/runtime" systemd-analyze verify --user --man=no \
    "$units"/morvek-collect.*; then
  echo "systemd units: findings"
  status=1
fi
rm -rf "$units"

printf '\n== static checks %s in %d s\n' "$([ "$status" -eq 0 ] && echo passed || echo FAILED)" \
  $((SECONDS - start))
exit "$status"
