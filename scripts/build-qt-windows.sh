#!/usr/bin/env bash
# Builds Qt for 64-bit Windows with Debian's MinGW-w64, once, into a cache outside the repository,
# from the source of the very Qt the Linux build uses (Debian's qt6-base), so that the editor on
# both systems is built against the same Qt. Only what Velmar uses: Core, Gui, Widgets, Test, the
# Windows platform plugin, the Windows styles and the image formats Qt carries itself.
#
#   scripts/build-qt-windows.sh            build, or do nothing when the cache is complete
#   scripts/build-qt-windows.sh --prefix   print where the cache is (and build nothing)
#
# The cache is ${VELMAR_QT_WINDOWS:-${XDG_CACHE_HOME:-~/.cache}/velmar/qt-<version>-mingw-w64}.
# A stamp written after the install is what marks it complete: a build that was stopped is
# started again from the beginning of its step, never half used.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

# The version of Debian's qt6-base on this machine, which the Linux build uses.
debian_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$debian_version" ]; then
  echo "build-qt-windows.sh: qt6-base-dev is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
upstream_version=${debian_version%%+*}
upstream_version=${upstream_version%%-*}
cache=${VELMAR_QT_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/velmar/qt-$upstream_version-mingw-w64}
stamp=$cache/velmar-qt-complete

if [ "${1:-}" = "--prefix" ]; then
  echo "$cache"
  exit 0
fi
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$debian_version" ]; then
  echo "Qt $upstream_version for Windows is in $cache"
  exit 0
fi

started=$SECONDS
say() { printf '[qt-windows %4ds] %s\n' $((SECONDS - started)) "$*"; }
work=$cache.work
rm -rf "$cache" "$stamp"
mkdir -p "$work"

# 1. The source, with apt's own checks: a private apt configuration whose lists name the
# deb-src twins of the machine's own sources (same mirrors, suites and keys), so that the
# system's configuration is left as it is. apt checks the source package's files against the
# signed index; the orig tarball is checked once more against the .dsc below.
apt_dir=$work/apt
if ! ls "$work"/qt6-base_*.dsc >/dev/null 2>&1; then
  say "fetching the source of qt6-base $debian_version"
  rm -rf "$apt_dir"
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  : >"$apt_dir/sources.list"
  for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list" >>"$apt_dir/sources.list"
  done
  for sources in /etc/apt/sources.list.d/*.sources; do
    [ -f "$sources" ] || continue
    sed 's/^Types:.*/Types: deb-src/' "$sources" >"$apt_dir/sources.list.d/$(basename "$sources")"
  done
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "Debug::NoLocking=1"
    -o "APT::Sandbox::User=root")
  apt-get -q "${apt_options[@]}" update >"$work/apt-update.log"
  (cd "$work" && apt-get -q "${apt_options[@]}" source --download-only "qt6-base=$debian_version")
fi
dsc=$(ls "$work"/qt6-base_*.dsc)
orig=$(ls "$work"/qt6-base_*.orig.tar.*)
expected=$(awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 } on && $3 == name { print $1 }' \
  name="$(basename "$orig")" "$dsc")
if [ -z "$expected" ] || [ "$(sha256sum "$orig" | cut -d' ' -f1)" != "$expected" ]; then
  echo "build-qt-windows.sh: $(basename "$orig") does not match the checksum in $(basename "$dsc")" >&2
  exit 1
fi
say "source checked: $(basename "$orig") (sha256 $expected)"

# 2. The upstream source as it is released (Debian's repack, without Debian's Linux patches).
src=$work/src
if [ ! -f "$src/.unpacked" ]; then
  rm -rf "$src"
  mkdir -p "$src"
  tar -xf "$orig" -C "$src" --strip-components=1
  touch "$src/.unpacked"
fi

# 3. Configured for MinGW-w64 with Debian's Qt as the host Qt (moc, rcc, uic run here). Debian's
# repack leaves out the Wintab header, so the Windows plugin is built without tablet events
# (Velmar reads none); with OpenGL off, dynamic OpenGL is off too.
say "configuring (log: $work/configure.log)"
cat >"$work/toolchain.cmake" <<EOF
include($repo/cmake/mingw-w64-x86_64.cmake)
unset(CMAKE_CROSSCOMPILING_EMULATOR)
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
EOF
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$cache" -DBUILD_SHARED_LIBS=ON \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF \
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
  -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF >"$work/configure.log" 2>&1 || {
  tail -n 40 "$work/configure.log" >&2
  exit 1
}

# 4. Built and installed; the stamp last.
jobs=$(nproc 2>/dev/null || echo 2)
say "building with $jobs jobs (log: $work/build.log)"
if ! cmake --build "$work/build" -j "$jobs" >"$work/build.log" 2>&1; then
  tail -n 40 "$work/build.log" >&2
  exit 1
fi
say "installing into $cache"
cmake --install "$work/build" >"$work/install.log" 2>&1
cp "$src/LICENSES/LGPL-3.0-only.txt" "$cache/LICENSE.LGPL3" 2>/dev/null || true
cp "$dsc" "$orig" "$cache/" # the source of what is shipped, kept beside it
echo "$debian_version" >"$stamp"
rm -rf "$work"
say "Qt $upstream_version for Windows is in $cache ($(du -sh "$cache" | cut -f1)); it took $((SECONDS - started)) s"
