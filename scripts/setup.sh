#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the demo and the package's checks need; does
# nothing when all are present. Run as root on Debian 12.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ninja-build libtsan2
  qt6-base-dev libxml2-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev libpq-dev postgresql nlohmann-json3-dev
  libcairo2-dev libfontconfig-dev fonts-dejavu-core poppler-utils qt6-charts-dev
  clang-14 libclang-rt-14-dev clang-format clang-tidy-14 cppcheck systemd
  locales xvfb xauth fonts-liberation python3
  openbox xdotool x11-apps netpbm x11-utils xclip qt6-translations-l10n
  libqt6opengl6-dev qt6-tools-dev qt6-l10n-tools
  lintian desktop-file-utils librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A locale with a decimal comma, so the tests can show that no number text depends on it.
if ! locale -a 2>/dev/null | grep -qi '^uk_UA\.utf8$'; then
  sed -i 's/^# *\(uk_UA.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^uk_UA.UTF-8 UTF-8' /etc/locale.gen || echo 'uk_UA.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
