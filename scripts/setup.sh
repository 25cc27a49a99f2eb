#!/usr/bin/env bash
# Turns a fresh Debian 12 machine into one that cross-builds OstraTallier for
# 32-bit Windows and runs it under Wine. Idempotent: every step checks whether
# its work is done already, so a second run takes seconds.
#   scripts/setup.sh [build-dir]     (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
deps=$build/deps
mkdir -p "$deps/src" "$deps/stamps"

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi

packages=(g++-mingw-w64-i686-posix wine wine32:i386 xvfb xauth cmake ninja-build
          libz-mingw-w64-dev googletest fonts-wine fonts-liberation fonts-dejavu-core
          dpkg-dev nasm xz-utils ca-certificates libxml2-utils qpdf poppler-utils mupdf-tools python3-olefile python3-pil python3-fonttools
          cups cups-client cups-bsd printer-driver-cups-pdf libcups2:i386)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  # A mirror caught in the middle of a sync refuses one index for a while:
  # asked again, or left out when the others serve.
  update_tries=0
  until $SUDO apt-get update -q; do
    update_tries=$((update_tries + 1))
    if [ "$update_tries" -ge 3 ]; then
      echo "setup: some package indexes could not be fetched; installing from those that were"
      break
    fi
    sleep 20
  done
  install=($SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends)
  if ! "${install[@]}" "${missing[@]}"; then
    # A library of both architectures must be one version on both: when one
    # architecture's index of an update suite was left out, the release's own
    # versions, which both indexes list, are taken.
    . /etc/os-release
    "${install[@]}" -t "$VERSION_CODENAME" "${missing[@]}"
  fi
fi

# A machine whose kernel or hypervisor executes no 32-bit x86 code (a virtual
# machine that runs 64-bit programs only) starts Wine's 32-bit loader, and so
# the program and its tests, through QEMU's emulation of the i386 processor,
# registered with the kernel for every 32-bit x86 program. The program itself
# is the same. QEMU before 8.1 looks for free address space a page at a time,
# and Wine, which holds most of its 4 GB reserved, then takes a minute to start
# each process: Debian 12 has 7.2, its backports a later one, taken from there
# into the build folder.
i386_emulation() {
  local qemu=$deps/qemu/usr/bin/qemu-i386
  if [ ! -x "$qemu" ]; then
    echo "setup: this machine runs no 32-bit x86 program; taking QEMU's i386 emulation"
    . /etc/os-release
    local mirror
    mirror=$(grep -h -o -E 'https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d/* 2>/dev/null |
             head -n 1 | tr -d ' ') || true
    mkdir -p "$deps/apt-qemu/lists/partial" "$deps/apt-qemu/parts" "$deps/qemu/usr/bin"
    echo "deb ${mirror:-http://deb.debian.org/debian} $VERSION_CODENAME-backports main" > "$deps/apt-qemu/sources.list"
    local opts=(-o "Dir::Etc::SourceList=$deps/apt-qemu/sources.list" -o "Dir::Etc::SourceParts=$deps/apt-qemu/parts"
                -o "Dir::State::Lists=$deps/apt-qemu/lists" -o "APT::Sandbox::User=root")
    apt-get "${opts[@]}" update -q
    (cd "$deps/apt-qemu" && rm -f ./*.deb && apt-get "${opts[@]}" download -q qemu-user)
    dpkg-deb -x "$(ls "$deps"/apt-qemu/qemu-user_*.deb | head -n 1)" "$deps/qemu/unpacked"
    cp "$deps/qemu/unpacked/usr/bin/qemu-i386" "$qemu.new"
    rm -rf "$deps/qemu/unpacked" "$deps"/apt-qemu/*.deb
    mv "$qemu.new" "$qemu"
  fi
  local misc=/proc/sys/fs/binfmt_misc
  [ -f "$misc/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$misc"
  # The kernel opens the emulator when it is registered (flag F): a build
  # folder removed later leaves the registration working.
  [ ! -f "$misc/ostratallier-i386" ] || echo -1 | $SUDO tee "$misc/ostratallier-i386" >/dev/null
  printf '%s' ':ostratallier-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' |
    $SUDO tee "$misc/register" >/dev/null
  /lib/ld-linux.so.2 --version >/dev/null ||
    { echo "setup: QEMU's i386 emulation is registered, and still no 32-bit x86 program starts" >&2; exit 1; }
}
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then i386_emulation; fi

# Under that emulation Wine's own 32-bit server runs emulated too, and QEMU's
# user-mode emulation has no ptrace: the server cannot attach to the processes
# it serves, so every read and write of another process's memory
# (ReadProcessMemory, WriteProcessMemory: the tests' messages to the program's
# controls) fails with "access denied", and no debugger attaches to a crash.
# The server of Wine's 64-bit package, of the same version, runs natively and
# serves the same 32-bit programs; it is taken from that package into the
# build folder (it needs only the C library), and scripts/wine-env.sh starts
# it for the prefix before any Windows program.
native_wineserver() {
  local version server=$deps/wineserver
  version=$(dpkg-query -W -f='${Version}' wine32:i386)
  if [ -x "$server/wineserver64" ] && [ "$(cat "$server/version" 2>/dev/null)" = "$version" ]; then return 0; fi
  echo "setup: 32-bit programs run emulated here; taking Wine's native server ($version)"
  local work=$deps/apt-wineserver
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get -o APT::Sandbox::User=root download -q "wine64=$version") ||
    { $SUDO apt-get update -q && (cd "$work" && apt-get -o APT::Sandbox::User=root download -q "wine64=$version"); }
  dpkg-deb -x "$(ls "$work"/wine64_*.deb | head -n 1)" "$work/unpacked"
  mkdir -p "$server"
  cp "$work/unpacked/usr/lib/wine/wineserver64" "$server/wineserver64.new"
  "$server/wineserver64.new" --version >/dev/null 2>&1
  mv "$server/wineserver64.new" "$server/wineserver64"
  echo "$version" > "$server/version"
  rm -rf "$work"
}
if grep -qx enabled /proc/sys/fs/binfmt_misc/ostratallier-i386 2>/dev/null &&
   [ "$(dpkg --print-architecture)" = amd64 ]; then
  native_wineserver
fi

# The posix thread model is what std::thread needs; make sure the alternatives
# did not leave the win32 one in front (we call the -posix names directly anyway).
command -v i686-w64-mingw32-g++-posix >/dev/null

toolchain=$here/cmake/mingw-i686.cmake

# Debian's own source packages, through a private apt configuration that adds
# deb-src entries for the machine's configured Debian archive without touching
# the machine's sources.
fetch_source() { # package
  local pkg=$1; local dir=$deps/src/$1
  if ls "$dir"/*.dsc >/dev/null 2>&1; then return; fi
  mkdir -p "$dir" "$deps/apt/lists/partial" "$deps/apt/sources.list.d"
  local list=$deps/apt/sources.list
  if [ ! -s "$list" ]; then
    : > "$list"
    # Each deb line of the machine (one-line or deb822 form) gives a deb-src line.
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [ -f "$f" ] || continue
      grep -E '^\s*deb\s' "$f" | sed -E 's/^\s*deb\s/deb-src /' >> "$list" || true
    done
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      awk 'BEGIN{RS="";FS="\n"}
           { types="";uris="";suites="";comps="";signed="";
             for(i=1;i<=NF;i++){ l=$i; if(l ~ /^#/) continue;
               if(l ~ /^Types:/){sub(/^Types:[ \t]*/,"",l);types=l}
               else if(l ~ /^URIs:/){sub(/^URIs:[ \t]*/,"",l);uris=l}
               else if(l ~ /^Suites:/){sub(/^Suites:[ \t]*/,"",l);suites=l}
               else if(l ~ /^Components:/){sub(/^Components:[ \t]*/,"",l);comps=l}
               else if(l ~ /^Signed-By:/){sub(/^Signed-By:[ \t]*/,"",l);signed=l} }
             if(types ~ /deb/ && comps != ""){
               n=split(suites,s," "); m=split(uris,u," ");
               for(j=1;j<=m;j++) for(k=1;k<=n;k++)
                 printf "deb-src%s %s %s %s\n", (signed!=""?" [signed-by="signed"]":""), u[j], s[k], comps } }' "$f" >> "$list"
    done
    # Only Debian archives carry the source packages we want.
    grep -E '/debian(-security)?/? ' "$list" > "$list.tmp" || true
    mv "$list.tmp" "$list"
  fi
  local opts=(-o "Dir::Etc::SourceList=$list" -o "Dir::Etc::SourceParts=$deps/apt/sources.list.d"
              -o "Dir::State::Lists=$deps/apt/lists" -o "APT::Sandbox::User=root")
  if [ ! -f "$deps/stamps/apt-lists" ]; then
    apt-get "${opts[@]}" update -q
    touch "$deps/stamps/apt-lists"
  fi
  if (cd "$dir" && apt-get "${opts[@]}" source --download-only -q "$pkg"); then return; fi
  # A mirror that lists a newer revision than it holds: the next listed ones.
  local v
  for v in $(apt-cache "${opts[@]}" showsrc "$pkg" | sed -n 's/^Version: //p' | sort -r -V | tail -n +2); do
    if (cd "$dir" && apt-get "${opts[@]}" source --download-only -q "$pkg=$v"); then return; fi
  done
  return 1
}

unpack_source() { # package -> echoes the unpacked folder
  local pkg=$1; local dir=$deps/src/$1
  local tree
  tree=$(find "$dir" -mindepth 1 -maxdepth 1 -type d -name "$pkg-*" | head -n 1)
  if [ -z "$tree" ]; then
    # Debian's patches (security fixes among them) are applied on unpacking.
    (cd "$dir" && dpkg-source -x "$(ls ./*.dsc | head -n 1)" >/dev/null)
    tree=$(find "$dir" -mindepth 1 -maxdepth 1 -type d -name "$pkg-*" | head -n 1)
  fi
  echo "$tree"
}

cross_cmake() { # source build-dir args...
  local src=$1 bld=$2; shift 2
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps/prefix" "$@" >/dev/null
  cmake --build "$bld" >/dev/null
  cmake --install "$bld" >/dev/null
}

if [ ! -f "$deps/stamps/libxml2" ]; then
  echo "setup: building libxml2 (static, i686-w64-mingw32)"
  fetch_source libxml2
  src=$(unpack_source libxml2)
  cross_cmake "$src" "$deps/build/libxml2" -DBUILD_SHARED_LIBS=OFF \
    -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_ZLIB=OFF \
    -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_PYTHON=OFF \
    -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_THREADS=ON
  touch "$deps/stamps/libxml2"
fi

if [ ! -f "$deps/stamps/libjpeg-turbo" ]; then
  echo "setup: building libjpeg-turbo (static, i686-w64-mingw32)"
  fetch_source libjpeg-turbo
  src=$(unpack_source libjpeg-turbo)
  # The SIMD code (SSE2, AVX2) is what makes thumbnails and transforms fast:
  # a build without it fails rather than being slow.
  cross_cmake "$src" "$deps/build/libjpeg-turbo" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=ON -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm -DCMAKE_SYSTEM_PROCESSOR=x86
  touch "$deps/stamps/libjpeg-turbo"
fi
if ! grep -q ' T _jsimd_idct_islow_sse2$' <<<"$(i686-w64-mingw32-nm "$deps/prefix/lib/libturbojpeg.a" 2>/dev/null)"; then
  echo "setup: $deps/prefix/lib/libturbojpeg.a has no SIMD code; remove $deps/stamps/libjpeg-turbo and run again" >&2
  exit 1
fi

if [ ! -f "$deps/stamps/libpng" ]; then
  echo "setup: building libpng (static, i686-w64-mingw32, over the MinGW zlib)"
  fetch_source libpng1.6
  src=$(unpack_source libpng1.6)
  cross_cmake "$src" "$deps/build/libpng" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=ON -DSKIP_INSTALL_PROGRAMS=ON
  touch "$deps/stamps/libpng"
fi

# The stamp names what the build holds: a build folder whose libtiff lacks the
# JPEG codings, the private headers, the reading of strips in parts or
# PixarLog builds it again.
if [ ! -f "$deps/stamps/libtiff-pixarlog" ]; then
  echo "setup: building libtiff (static, i686-w64-mingw32, over the MinGW zlib and libjpeg-turbo)"
  fetch_source tiff
  src=$(unpack_source tiff)
  # Every coding the raster library reads TIFFs in: none, LZW, PackBits,
  # deflate, PixarLog (deflate of log samples: zlib alone, which the library
  # links already), the fax codings, JPEG and old-style JPEG (on the
  # libjpeg-turbo built above). A coding left out would go to the system's
  # decoder, which tells no damaged file from one it does not read. A strip
  # read a scanline at a time through the file comes in parts, not whole: a
  # TIFF too large to map in a 32-bit process reads through a window of each
  # strip (platform/rasterlib/TiffRuns.h).
  rm -rf "$deps/build/libtiff"
  cross_cmake "$src" "$deps/build/libtiff" -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF \
    -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dtiff-deprecated=OFF -Dcxx=OFF -Dzlib=ON -Dlibdeflate=OFF -Dpixarlog=ON \
    -Djpeg=ON -Dold-jpeg=ON -Djpeg12=OFF -DJPEG_INCLUDE_DIR="$deps/prefix/include" \
    -Dchunky-strip-read=ON \
    -DJPEG_LIBRARY="$deps/prefix/lib/libjpeg.a" -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF
  # The raster library goes on decoding a strip or tile where the last call
  # stopped through the codec's own entry, which only the private header of
  # this build declares (platform/rasterlib/TiffRuns.h).
  mkdir -p "$deps/prefix/include/libtiff-private"
  cp "$src/libtiff/tiffiop.h" "$src/libtiff/tif_dir.h" "$src/libtiff/tif_hash_set.h" \
     "$deps/build/libtiff/libtiff/tif_config.h" "$deps/prefix/include/libtiff-private/"
  rm -f "$deps/stamps/libtiff" "$deps/stamps/libtiff-jpeg" "$deps/stamps/libtiff-private" \
     "$deps/stamps/libtiff-chunky"
  touch "$deps/stamps/libtiff-pixarlog"
fi

if [ ! -f "$deps/stamps/googletest" ]; then
  echo "setup: building GoogleTest (i686-w64-mingw32)"
  cross_cmake /usr/src/googletest "$deps/build/googletest" -DBUILD_GMOCK=ON \
    -Dgtest_disable_pthreads=OFF -DCMAKE_CXX_FLAGS="-DGTEST_HAS_PTHREAD=0"
  touch "$deps/stamps/googletest"
fi

echo "setup: done ($deps/prefix)"
