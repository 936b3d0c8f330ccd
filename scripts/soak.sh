#!/bin/bash
# Soak run: a made-up journal of many receipts served by morvek-sim with faults at random at a low
# rate, fetched whole in one run of morvek-cli fetch, by number or by blocks. Checks that nothing
# crashed and that every receipt of the journal is in the output; reports the time, the peak memory
# and the memory of both programs sampled every second, to see whether it stays flat.
#
#   scripts/soak.sh [--receipts N] [--protocol datecs|zelmar] [--block] [--fault-rate P]
#                   [--seed S] [--fault-kinds K,K] [--build DIR] [--work DIR] [--host ADDR]
#
# The faults are those morvek-sim draws by default (the ones the tool gets over without losing a
# document) unless --fault-kinds names others.
#
# Exit status 0 when every receipt arrived and neither program crashed.
set -u

receipts=100000
protocol=datecs
block=
rate=0.001
seed=7
build=build
work=
host=127.0.0.1
kinds=()
while [ $# -gt 0 ]; do
  case "$1" in
    --receipts) receipts=$2; shift 2 ;;
    --protocol) protocol=$2; shift 2 ;;
    --block) block=--block; shift ;;
    --fault-rate) rate=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --fault-kinds) kinds=(--fault-kinds "$2"); shift 2 ;;
    --build) build=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --host) host=$2; shift 2 ;;
    *) echo "soak.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

sim=$build/src/morvek-sim
cli=$build/src/morvek-cli
for program in "$sim" "$cli"; do
  [ -x "$program" ] || { echo "soak.sh: $program is not built" >&2; exit 2; }
done
sim=$(realpath "$sim")
cli=$(realpath "$cli")
removeWork=
if [ -z "$work" ]; then
  work=$(mktemp -d)
  removeWork=$work
fi
mkdir -p "$work"
cd "$work" || exit 2

fiscal=4000000001
days=$(( receipts / 500 + 1 ))
simPid=
samplerPid=
cleanup() {
  [ -n "$samplerPid" ] && kill "$samplerPid" 2>/dev/null
  [ -n "$simPid" ] && kill "$simPid" 2>/dev/null && wait "$simPid" 2>/dev/null
  [ -n "$removeWork" ] && rm -rf "$removeWork"
}
trap cleanup EXIT

# The simulator makes up the journal, writes it for the count below and serves it.
"$sim" --protocol "$protocol" --host "$host" --port 0 --generate "$receipts" --days "$days" \
  --fiscal-number "$fiscal" $block --fault-rate "$rate" --fault-seed "$seed" "${kinds[@]}" \
  --write-journal journal.xml --quiet --log sim.log --once > sim.out 2> sim.err &
simPid=$!
port=
for _ in $(seq 600); do
  port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' sim.out)
  [ -n "$port" ] && break
  kill -0 "$simPid" 2>/dev/null || break
  sleep 0.5
done
if [ -z "$port" ]; then
  echo "soak.sh: the simulator did not start" >&2
  cat sim.err >&2
  exit 1
fi

grep -o '<E [^>]*NO="[0-9]*"' journal.xml | sed 's/.*NO="\([0-9]*\)"/\1/' | sort -un > journal.numbers
first=$(head -1 journal.numbers)
last=$(tail -1 journal.numbers)

# The resident memory of both programs, once a second; the tool is runner itself or, under
# /usr/bin/time, its child.
sample() {
  local runner=$1
  while :; do
    cliPid=$(pgrep -P "$runner" | head -1)
    [ -z "$cliPid" ] && cliPid=$runner
    simRss=$(awk '/VmRSS/ {print $2}' /proc/"$simPid"/status 2>/dev/null)
    cliRss=$(awk '/VmRSS/ {print $2}' /proc/"$cliPid"/status 2>/dev/null)
    echo "$(date +%s) ${simRss:-0} ${cliRss:-0}"
    sleep 1
  done
}

timing=()
[ -x /usr/bin/time ] && timing=(/usr/bin/time -v -o cli.time)
start=$(date +%s.%N)
"${timing[@]}" "$cli" fetch --host "$host" --port "$port" --protocol "$protocol" \
  --fiscal-number "$fiscal" --type receipt "$first" "$last" > output.txt 2> cli.err &
runner=$!
sample "$runner" > rss.samples &
samplerPid=$!
wait "$runner"
status=$?
end=$(date +%s.%N)
kill "$samplerPid" 2>/dev/null
samplerPid=
wait "$simPid" 2>/dev/null
simStatus=$?
simPid=

# Receipt numbers from the receipts' footers ("  000001519 ...").
grep -a '^  00[0-9]\{7\}' output.txt | cut -c3-11 | sed 's/^0*//' | sort -un > output.numbers
missing=$(comm -23 journal.numbers output.numbers | wc -l)
extra=$(comm -13 journal.numbers output.numbers | wc -l)
faults=$(grep -c '^fault at random' sim.log)

echo "soak: $protocol ${block:+(blocks) }receipts $first to $last ($(wc -l < journal.numbers)" \
  "in the journal, $(wc -c < journal.xml) bytes)"
echo "soak: faults at random: $faults (rate $rate, seed $seed)"
echo "soak: morvek-cli exit status $status, morvek-sim exit status $simStatus"
echo "soak: receipts in the output: $(wc -l < output.numbers), missing $missing, unexpected $extra"
awk -v s="$start" -v e="$end" 'BEGIN { printf "soak: wall time %.1f s\n", e - s }'
if [ -f cli.time ]; then
  sed -n 's/^\tMaximum resident set size (kbytes): /soak: morvek-cli peak memory (kB): /p;
          s/^\tUser time (seconds): /soak: morvek-cli user time (s): /p;
          s/^\tSystem time (seconds): /soak: morvek-cli system time (s): /p' cli.time
fi
# Memory over the run, at the quarters: flat for the simulator once its journal is loaded; the
# tool's grows with the documents it holds.
awk '$2 > 0 { m++; s[m] = $2; if ($2 > ms) ms = $2 }
     $3 > 0 { n++; c[n] = $3; if ($3 > mc) mc = $3 }
     END { if (m == 0 || n == 0) exit;
           printf "soak: morvek-sim RSS (kB) at 0/25/50/75/100%%:";
           for (q = 0; q <= 4; q++) { i = int(1 + (m - 1) * q / 4); printf " %d", s[i] }
           printf ", peak %d\n", ms;
           printf "soak: morvek-cli RSS (kB) at 0/25/50/75/100%%:";
           for (q = 0; q <= 4; q++) { i = int(1 + (n - 1) * q / 4); printf " %d", c[i] }
           printf ", peak %d (%d samples)\n", mc, n }' rss.samples
messages=$(grep -vc '^\s*$' cli.err)
echo "soak: lines on morvek-cli's standard error: $messages"
sort cli.err | uniq -c | sort -rn | head -5 | sed 's/^/soak:   /'

[ "$status" -lt 128 ] && [ "$simStatus" -lt 128 ] && [ "$missing" -eq 0 ] && [ "$extra" -eq 0 ]
