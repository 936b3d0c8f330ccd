#!/usr/bin/env bash
# The main job: installs what is missing, builds, and renders a journal with morvek-cli, by default
# the sample journal data/sample-journal.xml (all its receipts and Z-reports).
#
#   scripts/run.sh                                  render data/sample-journal.xml
#   scripts/run.sh [OPTIONS] JOURNAL.xml [FIRST [LAST]]   the arguments of `morvek-cli render`
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${MORVEK_JOBS:-$(nproc)}" --target morvek-cli >/dev/null
[ $# -gt 0 ] || set -- data/sample-journal.xml
exec ./build/src/morvek-cli render "$@"
