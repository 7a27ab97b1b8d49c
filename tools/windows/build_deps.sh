#!/bin/bash
# Cross-builds the static Windows libraries the game links (zlib, libpng,
# libogg, libvorbis, liblzma, libarchive, SDL2) and GoogleTest for the unit
# tests, from Debian's source packages, into one cache prefix with pkg-config
# and CMake files. Each library is built once: a stamp file marks it done.
#
#   tools/windows/build_deps.sh            # into build-windows/deps
#   DUSK_WINDOWS_DEPS=/some/prefix tools/windows/build_deps.sh
#   JOBS=4 tools/windows/build_deps.sh     # parallel compile jobs (default 2)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=${DUSK_WINDOWS_DEPS:-$root/build-windows/deps}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
jobs=${JOBS:-2}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
work=$prefix/work          # sources and build folders
stamps=$prefix/stamps
aptdir=$prefix/apt        # our own apt configuration for the source packages
mkdir -p "$work" "$stamps" "$prefix/lib/pkgconfig" "$prefix/include"

log() { echo "== $*"; }

# ---- apt source entries -------------------------------------------------
# The deb-src entries are the machine's own deb entries with their type
# changed: same mirrors, suites, components and keys. They go into a private
# apt configuration, so the system's package lists stay untouched and no root
# is needed.
write_source_entries() {
  local out=$aptdir/sources.list.d/duskmatch-src.sources
  mkdir -p "$aptdir/sources.list.d" "$aptdir/lists/partial" "$aptdir/cache/archives/partial"
  : > "$out.new"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # deb822: blank lines separate stanzas; keep the stanzas whose Types
    # name "deb", with Types rewritten to deb-src, and drop comments.
    awk '
      function flush() {
        if (n > 0 && isdeb) { for (i = 1; i <= n; i++) print lines[i] >> out; print "" >> out }
        n = 0; isdeb = 0
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      /^Types:/ {
        for (i = 2; i <= NF; i++) if ($i == "deb") isdeb = 1
        lines[++n] = "Types: deb-src"; next
      }
      { lines[++n] = $0 }
      END { flush() }
    ' out="$out.new" "$f"
  done
  # One-line format: "deb [options] uri suite components" becomes deb-src.
  local lists=()
  [ -f /etc/apt/sources.list ] && lists+=(/etc/apt/sources.list)
  for f in /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && lists+=("$f")
  done
  if [ ${#lists[@]} -gt 0 ]; then
    mkdir -p "$aptdir/sources.list.d"
    sed -n 's/^[ \t]*deb[ \t]/deb-src /p' "${lists[@]}" > "$aptdir/sources.list.d/duskmatch-src.list"
    [ -s "$aptdir/sources.list.d/duskmatch-src.list" ] || rm -f "$aptdir/sources.list.d/duskmatch-src.list"
  fi
  mv "$out.new" "$out"
  [ -s "$out" ] || rm -f "$out"
  if ! ls "$aptdir"/sources.list.d/duskmatch-src.* >/dev/null 2>&1; then
    echo "No deb entries found in /etc/apt to derive source entries from." >&2
    exit 1
  fi
}

apt_opts=()
apt_ready=0
private_apt() {
  if [ $apt_ready -eq 0 ]; then
    write_source_entries
    apt_opts=(
      -o "Dir::Etc::SourceList=/dev/null"
      -o "Dir::Etc::SourceParts=$aptdir/sources.list.d"
      -o "Dir::State::Lists=$aptdir/lists"
      -o "Dir::Cache=$aptdir/cache"
      -o "Dir::State::status=/var/lib/dpkg/status"
      -o "APT::Sandbox::User=root"
    )
    log "apt-get update (source lists only, private)"
    apt-get "${apt_opts[@]}" update -qq
    apt_ready=1
  fi
}

# fetch_source PACKAGE -> sets $src to the unpacked source folder.
fetch_source() {
  local pkg=$1
  local dir=$work/src-$pkg
  if ! ls -d "$dir"/*/ >/dev/null 2>&1; then
    private_apt
    mkdir -p "$dir"
    log "apt-get source $pkg"
    # A mirror may list a newer version than it holds (an update suite
    # whose files are elsewhere): then take the newest version it serves.
    if ! (cd "$dir" && apt-get "${apt_opts[@]}" source -qq "$pkg" 2>"$dir.err"); then
      local version got=0
      for version in $(apt-cache "${apt_opts[@]}" madison "$pkg" |
                       awk -F'|' '/Sources/ { gsub(/ /, "", $2); print $2 }' | sort -u -r -V); do
        rm -rf "${dir:?}"/*
        log "apt-get source $pkg=$version"
        if (cd "$dir" && apt-get "${apt_opts[@]}" source -qq "$pkg=$version" 2>>"$dir.err"); then
          got=1
          break
        fi
      done
      if [ $got -eq 0 ]; then
        cat "$dir.err" >&2
        exit 1
      fi
    fi
  fi
  src=$(ls -d "$dir"/*/ | head -n 1)
  src=${src%/}
}

# cmake_build NAME SOURCE [cmake options...]: configure, build, install.
cmake_build() {
  local name=$1 source=$2
  shift 2
  local build=$work/build-$name
  rm -rf "$build"
  cmake -S "$source" -B "$build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DDUSK_WINDOWS_DEPS="$prefix" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_INSTALL_LIBDIR=lib \
    -DBUILD_SHARED_LIBS=OFF \
    -DBUILD_TESTING=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR= \
    -Wno-dev "$@" > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
  cmake --build "$build" -j"$jobs" > "$build.build.log" 2>&1 || { tail -50 "$build.build.log"; exit 1; }
  cmake --install "$build" > "$build.install.log" 2>&1 || { cat "$build.install.log"; exit 1; }
}

done_already() {
  if [ -f "$stamps/$1" ]; then
    log "$1: already built"
    return 0
  fi
  return 1
}
mark_done() { date -u +%FT%TZ > "$stamps/$1"; log "$1: done"; }

# write_pc NAME DESCRIPTION VERSION LIBS [CFLAGS]: a pkg-config file for a
# library installed by hand into the prefix.
write_pc() {
  cat > "$prefix/lib/pkgconfig/$1.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: $1
Description: $2
Version: $3
Libs: -L\${libdir} $4
Cflags: -I\${includedir}${5:+ $5}
EOF
}

# ---- zlib -----------------------------------------------------------------
# Debian's tarball has no Windows resource file, which only the DLL needs:
# build the static target alone and install it by hand.
if ! done_already zlib; then
  fetch_source zlib
  build=$work/build-zlib
  rm -rf "$build"
  cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DDUSK_WINDOWS_DEPS="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR= -Wno-dev > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
  cmake --build "$build" -j"$jobs" --target zlibstatic > "$build.build.log" 2>&1 || { tail -50 "$build.build.log"; exit 1; }
  cp "$build/libzlibstatic.a" "$prefix/lib/libz.a"
  cp "$src/zlib.h" "$build/zconf.h" "$prefix/include/"
  version=$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$src/zlib.h")
  write_pc zlib "zlib compression library" "$version" -lz
  mark_done zlib
fi

zlib_opts=(-DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a")

# ---- libpng -------------------------------------------------------------
if ! done_already libpng; then
  fetch_source libpng1.6
  cmake_build libpng "$src" "${zlib_opts[@]}" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
  mark_done libpng
fi

# ---- libogg, libvorbis -------------------------------------------------
if ! done_already libogg; then
  fetch_source libogg
  cmake_build libogg "$src" -DINSTALL_DOCS=OFF
  mark_done libogg
fi

if ! done_already libvorbis; then
  fetch_source libvorbis
  cmake_build libvorbis "$src" -DOgg_DIR="$prefix/lib/cmake/Ogg" \
    -DOGG_INCLUDE_DIR="$prefix/include" -DOGG_LIBRARY="$prefix/lib/libogg.a"
  mark_done libvorbis
fi

# ---- liblzma ----------------------------------------------------------------
# For LZMA-packed entries of a ZIP language pack (other archivers write
# them), as the Linux libarchive reads them. The library alone, static.
if ! done_already liblzma; then
  fetch_source xz-utils
  cmake_build liblzma "$src" -DBUILD_SHARED_LIBS=OFF -DCREATE_XZ_SYMLINKS=OFF -DCREATE_LZMA_SYMLINKS=OFF
  # Users of the static library must say so (LZMA_API_STATIC), or its
  # header asks for DLL imports.
  version=$(sed -n 's/^#define LZMA_VERSION_\(MAJOR\|MINOR\|PATCH\) \([0-9]*\).*/\2/p' \
    "$src/src/liblzma/api/lzma/version.h" | paste -sd.)
  write_pc liblzma "General purpose data compression library" "$version" -llzma -DLZMA_API_STATIC
  mark_done liblzma
fi

# ---- libarchive -------------------------------------------------------
# ZIP reading with zlib and liblzma is all the game needs: every other
# optional library and program is off. The ZLIB_WINAPI probe would run a
# test program, which a cross build cannot (and CMake 3.25 crashes trying):
# our zlib is built without WINAPI calling conventions, so the answer is no.
# The probe is skipped when its answer is cached together with the library
# it was found for. (The stamp's name changed when liblzma came in, so that
# a cache built without it builds libarchive again.)
# libarchive's CMake build always makes the DLL beside the static library,
# which would compile every source twice: only the static target is built
# and installed by hand, as zlib is.
if ! done_already libarchive-lzma; then
  fetch_source libarchive
  build=$work/build-libarchive
  rm -rf "$build"
  cmake -S "$src" -B "$build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DDUSK_WINDOWS_DEPS="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib \
    -DCMAKE_CROSSCOMPILING_EMULATOR= -Wno-dev "${zlib_opts[@]}" \
    -DENABLE_ZLIB=ON -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF -DENABLE_NETTLE=OFF \
    -DENABLE_LZMA=ON -DLIBLZMA_INCLUDE_DIR="$prefix/include" -DLIBLZMA_LIBRARY="$prefix/lib/liblzma.a" \
    -DENABLE_LIBB2=OFF -DENABLE_LZ4=OFF -DENABLE_LZO=OFF -DENABLE_ZSTD=OFF \
    -DENABLE_BZip2=OFF -DENABLE_LIBXML2=OFF -DENABLE_EXPAT=OFF -DENABLE_PCREPOSIX=OFF \
    -DENABLE_PCRE2POSIX=OFF -DENABLE_LibGCC=OFF -DENABLE_CNG=OFF -DENABLE_TAR=OFF \
    -DENABLE_CPIO=OFF -DENABLE_CAT=OFF -DENABLE_UNZIP=OFF -DENABLE_XATTR=OFF -DENABLE_ACL=OFF \
    -DENABLE_ICONV=OFF -DENABLE_TEST=OFF -DENABLE_COVERAGE=OFF -DENABLE_INSTALL=ON \
    -DPOSIX_REGEX_LIB=NONE -DZLIB_WINAPI=OFF -DZLIB_WINAPI_WITH_LIB="$prefix/lib/libz.a" \
    > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
  cmake --build "$build" -j"$jobs" --target archive_static > "$build.build.log" 2>&1 || { tail -50 "$build.build.log"; exit 1; }
  # The static library is called archive_static on Windows; the game links
  # it by its usual name.
  cp "$(find "$build" -name libarchive_static.a | head -n 1)" "$prefix/lib/libarchive.a"
  cp "$src/libarchive/archive.h" "$src/libarchive/archive_entry.h" "$prefix/include/"
  # The pkg-config file its configure step writes names the libraries a
  # static link needs; its users must also say LIBARCHIVE_STATIC, otherwise
  # the headers ask for DLL imports.
  # (libarchive 3.6 writes it into its source tree, later ones into the
  # build folder.)
  pc=$(find "$build" "$src/build/pkgconfig" -name libarchive.pc 2>/dev/null | head -n 1)
  if [ -n "$pc" ]; then
    cp "$pc" "$prefix/lib/pkgconfig/libarchive.pc"
    sed -i 's/^Cflags: \(.*\)$/Cflags: \1 -DLIBARCHIVE_STATIC/' "$prefix/lib/pkgconfig/libarchive.pc"
  else
    version=$(sed -n 's/^#define ARCHIVE_VERSION_ONLY_STRING "\(.*\)"/\1/p' "$src/libarchive/archive.h")
    write_pc libarchive "library that can create and read several streaming archive formats" \
      "$version" "-larchive -llzma -lz -lbcrypt" "-DLIBARCHIVE_STATIC"
  fi
  mark_done libarchive-lzma
fi

# ---- SDL2 ------------------------------------------------------------------
if ! done_already sdl2; then
  fetch_source libsdl2
  cmake_build sdl2 "$src" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_INSTALL=OFF
  mark_done sdl2
fi

# ---- GoogleTest --------------------------------------------------------
# From libgtest-dev's copy of the sources when installed, else Debian's
# source package.
if ! done_already googletest; then
  if [ -f /usr/src/googletest/CMakeLists.txt ]; then
    src=/usr/src/googletest
  else
    fetch_source googletest
  fi
  cmake_build googletest "$src" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=ON
  mark_done googletest
fi

log "Windows libraries ready in $prefix"
