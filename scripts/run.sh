#!/usr/bin/env bash
# The main job: installs what is missing, builds, starts morvek-sim on 127.0.0.1:34950 as a Datecs
# register serving data/sample-journal.xml, and runs the desktop program against it in a scratch
# working folder whose morvek.ini points at the simulator: enter the fiscal number 3000567412,
# click "Подключить", then
# "КЛЭФ" -> "Вывод документов в электронном виде" and "Получить" (receipts 1517 to 1529, Z-reports
# 87 to 89). Without a display it runs the terminal program instead: the register's status, then
# the receipts and the Z-reports of the sample journal fetched by number.
#
#   scripts/run.sh                  the demo
#   scripts/run.sh render ARGS...   morvek-cli render ARGS, e.g. render data/sample-journal.xml
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
jobs="${MORVEK_JOBS:-$(nproc)}"

if [ "${1:-}" = render ]; then
  cmake --build build -j"$jobs" --target morvek-cli >/dev/null
  exec ./build/src/morvek-cli "$@"
fi

graphical=no
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && graphical=yes
targets=(morvek-cli morvek-sim)
[ $graphical = yes ] && targets+=(morvek)
cmake --build build -j"$jobs" --target "${targets[@]}" >/dev/null

scratch="$(mktemp -d)"
fiscal=3000567412
./build/src/morvek-sim --protocol datecs --host 127.0.0.1 --port 34950 --fiscal-number $fiscal \
  --journal data/sample-journal.xml --log "$scratch/morvek-sim.log" >"$scratch/morvek-sim.out" &
sim=$!
trap 'kill $sim 2>/dev/null || true; wait $sim 2>/dev/null || true; rm -rf "$scratch"' EXIT
for _ in $(seq 100); do
  grep -q listening "$scratch/morvek-sim.out" 2>/dev/null && break
  kill -0 $sim 2>/dev/null || { echo "run: morvek-sim did not start (is port 34950 taken?)" >&2; exit 1; }
  sleep 0.1
done
grep -q listening "$scratch/morvek-sim.out" || { echo "run: morvek-sim did not start" >&2; exit 1; }
cat "$scratch/morvek-sim.out"
printf '[Connection]\r\nIPAddres=127.0.0.1\r\n' >"$scratch/morvek.ini"

cli="$root/build/src/morvek-cli"
if [ $graphical = yes ]; then
  echo "run: enter the fiscal number $fiscal in the main window, then click \"Подключить\""
  (cd "$scratch" && "$root/build/src/morvek")
else
  echo "run: no display; the terminal program against the simulator:"
  cd "$scratch"
  "$cli" status --fiscal-number $fiscal
  "$cli" fetch --fiscal-number $fiscal --type receipt 1517 1529
  "$cli" fetch --fiscal-number $fiscal --type z 87 89
fi
