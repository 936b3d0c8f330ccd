#!/usr/bin/env bash
# Builds the Debian package from build/ and checks it: lintian (any error fails, the warnings are
# printed), its files, the desktop entry and the icon, then installs it with apt-get and runs the
# installed programs: their versions, man's pages, a render of the installed sample journal (the
# same lines as the build tree's render), and a fetch of receipts and Z-reports from the installed
# morvek-sim on 127.0.81.1 (the same lines again); then removes it. Whatever happens, the
# simulator is stopped and the package removed at the end. Run as root; exits 1 on any failure.
#
#   scripts/package.sh
#
# Build folder: build/ (or $MORVEK_BUILD), configured as scripts/test.sh does when missing; the
# package is left there as morvek_<version>_<arch>.deb.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${MORVEK_BUILD:-build}"
jobs="${MORVEK_JOBS:-$(nproc)}"
register_host=127.0.81.1
fiscal=3000567412
start=$SECONDS

step() { printf '\n== %s\n' "$*"; }
die() {
  echo "package: $*" >&2
  exit 1
}

scratch=""
sim=""
installed=no

# running PID and stop PID.
. "$root/scripts/processes.sh"

stop_sim() {
  [ -n "$sim" ] || return 0
  stop "$sim"
  sim=""
}

remove_package() {
  DEBIAN_FRONTEND=noninteractive timeout 300 apt-get remove -y -qq morvek >"$scratch/remove.log" 2>&1 ||
    { cat "$scratch/remove.log" >&2; return 1; }
  installed=no
}

cleanup() {
  stop_sim
  if [ "$installed" = yes ]; then
    echo "package: removing the package" >&2
    remove_package || echo "package: apt-get remove morvek failed; remove it by hand" >&2
  fi
  if [ -n "$scratch" ]; then rm -rf "$scratch"; fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# run SECONDS COMMAND...: runs a command of the package with a bound on its time.
run() {
  local seconds=$1
  shift
  timeout "$seconds" "$@"
}

[ "$(id -u)" -eq 0 ] || die "run as root: the script installs and removes the package"
if dpkg-query -W -f='${Status}' morvek 2>/dev/null | grep -q 'install ok installed'; then
  die "a morvek package is installed already; remove it first (apt-get remove morvek)"
fi

step "setup"
scripts/setup.sh
for tool in cpack lintian desktop-file-validate rsvg-convert dpkg-deb readelf apt-get man; do
  command -v "$tool" >/dev/null || die "$tool is missing (scripts/setup.sh installs it)"
done
scratch="$(mktemp -d)"

step "build ($build)"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEK_TESTS=OFF \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
fi
cmake --build "$build" -j"$jobs"

step "cpack"
rm -f "$build"/morvek_*.deb
(cd "$build" && cpack -G DEB) >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; die "cpack failed"; }
debs=("$build"/morvek_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "cpack wrote no single morvek_<version>_<arch>.deb in $build"
deb="$(cd "$(dirname "${debs[0]}")" && pwd)/$(basename "${debs[0]}")"
version="$(dpkg-deb -f "$deb" Version)"
printf '%s: %s bytes\n' "$deb" "$(stat -c %s "$deb")"
dpkg-deb -f "$deb" Package Version Architecture Section Priority Depends Recommends

step "lintian"
lintian_out="$(lintian --fail-on none "$deb" 2>&1)" ||
  { echo "$lintian_out" >&2; die "lintian failed to run"; }
echo "${lintian_out:-(nothing)}"
if grep -q '^E:' <<<"$lintian_out"; then die "lintian found errors"; fi

step "contents"
dpkg-deb -x "$deb" "$scratch/tree"
failed=0
for file in usr/bin/morvek usr/bin/morvek-cli usr/bin/morvek-sim \
  usr/share/man/man1/morvek.1.gz usr/share/man/man1/morvek-cli.1.gz usr/share/man/man1/morvek-sim.1.gz \
  usr/share/applications/morvek.desktop usr/share/icons/hicolor/scalable/apps/morvek.svg \
  usr/share/morvek/sample-journal.xml usr/share/morvek/translations/morvek_uk.qm \
  usr/share/doc/morvek/copyright; do
  [ -f "$scratch/tree/$file" ] || { echo "missing: /$file" >&2; failed=1; }
done
for program in morvek morvek-cli morvek-sim; do
  if readelf -S "$scratch/tree/usr/bin/$program" 2>/dev/null | grep -qE '\.symtab|\.debug_'; then
    echo "not stripped: /usr/bin/$program" >&2
    failed=1
  fi
done
cmp -s data/sample-journal.xml "$scratch/tree/usr/share/morvek/sample-journal.xml" ||
  { echo "the packaged sample journal differs from data/sample-journal.xml" >&2; failed=1; }
desktop-file-validate "$scratch/tree/usr/share/applications/morvek.desktop" || failed=1
rsvg-convert -w 48 -h 48 "$scratch/tree/usr/share/icons/hicolor/scalable/apps/morvek.svg" \
  -o "$scratch/icon-48.png" || { echo "the icon does not render" >&2; failed=1; }
[ "$failed" -eq 0 ] || die "the package's contents are not as they should be"
echo "the programs (stripped), the manual pages (gzipped), the desktop entry (valid), the icon"
echo "(renders), the sample journal, the copyright"

step "install"
installed=yes # from here on the trap removes it, also when apt-get fails half-way
DEBIAN_FRONTEND=noninteractive timeout 300 apt-get install -y -qq "$deb" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log" >&2; die "apt-get install failed"; }
dpkg-query -W -f='${Status}\n' morvek | grep -q 'install ok installed' || die "morvek is not installed after apt-get install"
dpkg -L morvek | grep -E '^/usr/(bin|share/(applications|icons|morvek|man)/)' | grep -v '/$' | sort

step "the installed programs"
# Each program answers --version with its name and the package's version (the desktop program
# before Qt starts, so no display is needed, but every library it links must load).
for program in morvek morvek-cli morvek-sim; do
  line="$(run 30 "/usr/bin/$program" --version)" || die "/usr/bin/$program --version failed"
  echo "$line"
  [[ "$line" == "$program $version "* ]] || die "/usr/bin/$program --version does not say $program $version"
done

# man finds the installed pages (man-db comes with lintian).
for program in morvek morvek-cli morvek-sim; do
  page="$(man -w "$program" 2>/dev/null)" || die "man finds no page for $program"
  [ "$page" = "/usr/share/man/man1/$program.1.gz" ] || die "man finds $page for $program"
done
echo "man: the three pages in /usr/share/man/man1"

# The example units of the nightly collector against the installed program and its manual page,
# which their Documentation= names (the static checks, before any install, leave that out).
run 60 systemd-analyze verify examples/systemd/morvek-collect.service \
  examples/systemd/morvek-collect.timer || die "systemd-analyze verify of the example units failed"
echo "systemd-analyze verify: the example units, their program and manual page installed"

# The installed desktop program finds its Ukrainian texts where the package put them: started
# without a display for a few seconds, it would say so on standard error otherwise.
mkdir -p "$scratch/desktop"
(cd "$scratch/desktop" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/desktop" \
  timeout 5 /usr/bin/morvek --lang uk >/dev/null 2>"$scratch/desktop.err") || true
if grep -q 'morvek_uk.qm' "$scratch/desktop.err"; then
  cat "$scratch/desktop.err" >&2
  die "the installed morvek does not find its Ukrainian texts"
fi
echo "morvek --lang uk: its Ukrainian texts found"

# The build tree's render of the sample journal is what the installed one must print.
cd "$scratch"
run 60 "$root/$build/src/morvek-cli" render "$root/data/sample-journal.xml" >expected.txt ||
  die "the build tree's morvek-cli render failed"
grep -q "ФН $fiscal" expected.txt || die "the build tree's render has no document of register $fiscal"
run 60 /usr/bin/morvek-cli render /usr/share/morvek/sample-journal.xml >rendered.txt ||
  die "/usr/bin/morvek-cli render /usr/share/morvek/sample-journal.xml failed"
cmp -s expected.txt rendered.txt ||
  { diff expected.txt rendered.txt | head -20; die "the installed render differs"; }
echo "render: $(wc -l <rendered.txt) lines, as the build tree renders them"

# The installed simulator on any free port of 127.0.81.1: its first line says which.
/usr/bin/morvek-sim --protocol datecs --host "$register_host" --port 0 --fiscal-number "$fiscal" \
  --journal /usr/share/morvek/sample-journal.xml --quiet --log "$scratch/morvek-sim.log" \
  >"$scratch/morvek-sim.out" 2>&1 &
sim=$!
deadline=$((SECONDS + 10))
until grep -qs ' listening on ' "$scratch/morvek-sim.out"; do
  running "$sim" || { cat "$scratch/morvek-sim.out" >&2; die "morvek-sim ended at its start"; }
  [ "$SECONDS" -lt "$deadline" ] || { cat "$scratch/morvek-sim.out" >&2; die "morvek-sim did not listen within 10 s"; }
  sleep 0.1
done
port="$(sed -n "1s/^morvek-sim: .* listening on $register_host:\([0-9][0-9]*\)$/\1/p" "$scratch/morvek-sim.out")"
[ -n "$port" ] || { cat "$scratch/morvek-sim.out" >&2; die "no port in morvek-sim's first line"; }
echo "morvek-sim on $register_host:$port"

# Receipts and Z-reports fetched by number: the same lines as the render of the same range.
for range in "receipt 1517 1529" "z 87 89"; do
  read -r type first last <<<"$range"
  run 60 /usr/bin/morvek-cli fetch --host "$register_host" --port "$port" --fiscal-number "$fiscal" \
    --type "$type" "$first" "$last" >"fetched-$type.txt" ||
    die "/usr/bin/morvek-cli fetch --type $type $first $last failed"
  run 60 /usr/bin/morvek-cli render --type "$type" /usr/share/morvek/sample-journal.xml "$first" "$last" \
    >"rendered-$type.txt" || die "/usr/bin/morvek-cli render --type $type failed"
  [ -s "rendered-$type.txt" ] || die "the render of $type $first to $last is empty"
  cmp -s "rendered-$type.txt" "fetched-$type.txt" ||
    { diff "rendered-$type.txt" "fetched-$type.txt" | head -20; die "fetched $type $first to $last differ"; }
  echo "fetch --type $type $first $last: $(wc -l <"fetched-$type.txt") lines, as rendered"
done
stop_sim
cd "$root"

step "remove"
remove_package || die "apt-get remove morvek failed"
[ ! -e /usr/bin/morvek-cli ] || die "/usr/bin/morvek-cli is still there after apt-get remove"
[ ! -e /usr/share/morvek/sample-journal.xml ] || die "/usr/share/morvek is still there after apt-get remove"
echo "removed"

printf '\n== package checked in %d s: %s\n' $((SECONDS - start)) "$deb"
