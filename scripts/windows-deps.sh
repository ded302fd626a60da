#!/usr/bin/env bash
# What the Windows build needs besides its sources, for `make windows-cli`:
# Debian's MinGW-w64 cross compilers and Wine, installed with apt-get when missing,
# and libxlsxwriter and GoogleTest cross-built as static libraries into a prefix
# outside the clone, which the script prints as the one line of its output.
#
# The prefix is $PLIVENTA_WINDOWS_CACHE (by default ~/.cache/pliventa/windows)
# /xlsxwriter-VERSION_googletest-VERSION_HASH, where HASH covers this script, the
# toolchain file the libraries are built with and the versions of the compiler,
# of MinGW's C runtime and of its zlib: a change to any of them builds a new
# prefix, and a second run with none builds nothing. Old prefixes are never
# removed here: `rm -rf` of the folder frees them.
set -euo pipefail

script=$(realpath "${BASH_SOURCE[0]}")
radice=$(dirname "$(dirname "$script")")
toolchain=$radice/cmake/mingw-w64-x86_64.cmake
mingw=/usr/x86_64-w64-mingw32

packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64
  cmake ninja-build pkg-config
  dpkg-dev   # apt-get source unpacks with dpkg-source
  googletest # its sources, in /usr/src/googletest
)

mancanti() {  # mancanti PACKAGE...: those of them dpkg does not have installed
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}
versione() {  # versione PACKAGE: the installed version
  dpkg-query -W -f='${Version}' "$1"
}

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

mapfile -t missing < <(mancanti "${packages[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installo i pacchetti mancanti: ${missing[*]}" >&2
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi

# libxlsxwriter comes as Debian's source package, which needs a deb-src entry: ours
# has the same archives as the system's deb entries, in a file apart so that the
# system's own is never rewritten.
sorgenti() { apt-get source --print-uris -qq libxlsxwriter 2>/dev/null; }
if ! uris=$(sorgenti); then
  elenchi=/etc/apt/sources.list.d
  if [ -f $elenchi/debian.sources ]; then
    echo "Aggiungo le sorgenti Debian in $elenchi/pliventa-deb-src.sources" >&2
    sed 's/^Types:.*/Types: deb-src/' $elenchi/debian.sources |
      $sudo tee $elenchi/pliventa-deb-src.sources >/dev/null
  else
    echo "Aggiungo le sorgenti Debian in $elenchi/pliventa-deb-src.list" >&2
    sed -n 's/^deb\([[:space:]]\)/deb-src\1/p' /etc/apt/sources.list |
      $sudo tee $elenchi/pliventa-deb-src.list >/dev/null
  fi
  $sudo apt-get update -qq
  uris=$(sorgenti)
fi
# The .dsc of the version apt-get source fetches: libxlsxwriter_1.1.4-2.dsc.
xlsxwriter=$(grep -o "libxlsxwriter_[^' ]*\.dsc" <<<"$uris" | head -n 1)
xlsxwriter=${xlsxwriter#libxlsxwriter_}
xlsxwriter=${xlsxwriter%.dsc}
googletest=$(versione googletest)
if [ -z "$xlsxwriter" ]; then
  echo "apt-get source non trova libxlsxwriter" >&2
  exit 1
fi

impronta=$({
  cat "$script" "$toolchain"
  for p in g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
           libz-mingw-w64-dev; do
    echo "$p $(versione "$p")"
  done
} | sha256sum | cut -c1-12)
cache=${PLIVENTA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pliventa/windows}
prefisso=$cache/$(tr ':~' '__' <<<"xlsxwriter-${xlsxwriter}_googletest-${googletest}_$impronta")

if [ ! -e "$prefisso/.pronto" ]; then
  mkdir -p "$cache"
  # One build at a time; the one that waited finds the prefix ready.
  exec 9>"$cache/.lock"
  flock 9
fi
if [ ! -e "$prefisso/.pronto" ]; then
  # Built in a folder of its own, installed straight into the prefix: .pronto,
  # written last, says it is whole, so a run cut short is built again.
  lavoro=$(mktemp -d "$cache/.lavoro.XXXXXX")
  trap 'rm -rf "$lavoro"' EXIT
  rm -rf "$prefisso"
  passo() {  # passo NAME COMMAND...: COMMAND with its output in a log, shown if it fails
    if ! "${@:2}" >"$lavoro/$1.log" 2>&1; then
      echo "Non riesce: ${*:2}" >&2
      tail -n 40 "$lavoro/$1.log" >&2
      exit 1
    fi
  }
  # Release builds of static libraries with the toolchain of the Windows build;
  # their own tests and examples are not built.
  cross=(-G Ninja --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release
         -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$prefisso")

  echo "Compilo libxlsxwriter $xlsxwriter per Windows in $prefisso" >&2
  passo scarica env -C "$lavoro" apt-get source -qq libxlsxwriter
  fonti=$(find "$lavoro" -maxdepth 1 -type d -name 'libxlsxwriter-*' | head -n 1)
  # Its own minizip, not a system one, which MinGW does not have; zlib the static
  # one, as the programs are linked.
  passo xlsxwriter-cmake cmake -S "$fonti" -B "$lavoro/xlsxwriter" "${cross[@]}" \
    -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF -DUSE_SYSTEM_MINIZIP=OFF \
    -DZLIB_LIBRARY=$mingw/lib/libz.a -DZLIB_INCLUDE_DIR=$mingw/include
  passo xlsxwriter-build cmake --build "$lavoro/xlsxwriter" --target install
  # Its xlsxwriter.pc says -L$prefix/lib -lxlsxwriter -lz: with the static zlib
  # beside it there, pkg_check_modules(xlsxwriter) links libz.a, never the import
  # library of zlib1.dll that it would find first in MinGW's folder.
  cp $mingw/lib/libz.a "$prefisso/lib/"

  echo "Compilo GoogleTest $googletest per Windows" >&2
  passo googletest-cmake cmake -S /usr/src/googletest -B "$lavoro/googletest" "${cross[@]}" \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
  passo googletest-build cmake --build "$lavoro/googletest" --target install

  touch "$prefisso/.pronto"
fi
echo "$prefisso"
