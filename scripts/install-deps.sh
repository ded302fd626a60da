#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages needed to build, run and test
# Pliventa. Packages already present are left alone, so a second run is quick.
# With --check it installs nothing: it names the packages the release build needs
# that are missing and fails, for `make install`, which never calls apt-get.
set -euo pipefail

# Configuring and building the release build (its configuration finds the test
# tools too).
build=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl1-mesa-dev libxlsxwriter-dev
  googletest libgtest-dev libgmock-dev desktop-file-utils
)
packages=(
  "${build[@]}"
  clang-format clang-tidy qt6-translations-l10n
  python3-openpyxl
  locales libreoffice-calc-nogui  # the tests read the workbooks back as an Italian clerk does
  time python3-xlsxwriter  # make bench: peak memory, and the export's peer
  clang libclang-rt-14-dev llvm  # make fuzz: libFuzzer, and readable sanitizer reports
  groff-base                     # the check of the manual pages
  dpkg-dev file lintian  # the package: dependencies found by dpkg-shlibdeps, its check
  strace                 # the test that the new work file is synced before its rename
  poppler-utils          # pdftotext: the tests read the printouts back
)
if [ "${PLIVENTA_WITH_X:-0}" = 1 ]; then
  packages+=(xvfb xauth imagemagick)
fi

mancanti() {  # mancanti PACKAGE...: those of them dpkg does not have installed
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

if [ "${1:-}" = --check ]; then
  # Without dpkg (not Debian) there is nothing to ask: the build names what it lacks.
  command -v dpkg-query >/dev/null || exit 0
  mapfile -t missing < <(mancanti "${build[@]}")
  [ ${#missing[@]} -eq 0 ] && exit 0
  echo "Per compilare Pliventa mancano i pacchetti: ${missing[*]}" >&2
  echo "Installarli con \"make deps\" (apt-get, come root o con sudo), poi ripetere." >&2
  exit 1
fi

mapfile -t missing < <(mancanti "${packages[@]}")

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
