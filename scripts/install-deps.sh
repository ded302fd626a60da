#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages needed to build, run and test
# Pliventa. Packages already present are left alone, so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev libgl1-mesa-dev qt6-translations-l10n
  libxlsxwriter-dev
  googletest libgtest-dev libgmock-dev
  python3-openpyxl
  locales libreoffice-calc-nogui  # the tests read the workbooks back as an Italian clerk does
  time python3-xlsxwriter  # make bench: peak memory, and the export's peer
  clang libclang-rt-14-dev llvm  # make fuzz: libFuzzer, and readable sanitizer reports
  desktop-file-utils groff-base  # the checks of the desktop entry and the manual page
  dpkg-dev file                  # make package: dependencies found by dpkg-shlibdeps
)
if [ "${PLIVENTA_WITH_X:-0}" = 1 ]; then
  packages+=(xvfb xauth imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installo i pacchetti mancanti: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The clerks' desktops are Italian, and so is the locale the tests run in: its ","
# as the decimal mark is what a number written through the C library must survive.
if ! locale -a 2>/dev/null | grep -qix 'it_IT\.utf-\?8'; then
  echo "Genero il locale it_IT.UTF-8"
  $sudo sed -i 's/^# *\(it_IT\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^it_IT\.UTF-8 UTF-8' /etc/locale.gen || echo 'it_IT.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
