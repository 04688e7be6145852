#!/usr/bin/env bash
# Builds and runs everything that checks Velmar: the tests (plain and under AddressSanitizer and
# UndefinedBehaviorSanitizer), an install and the Debian package, the Windows build with its tests
# under Wine and its zip and installer, a short benchmark run and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1
started=$SECONDS

# Every compiler call goes through ccache, which keeps what it compiled in ~/.cache/ccache: a run
# whose sources did not change compiles almost nothing, also in a fresh clone elsewhere (the paths
# are taken relative to the repository). The build folders take it when they are first made.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
fi

step() { printf '\n==== %s (%ds)\n' "$1" $((SECONDS - started)); }

# ctest's own summary, then the summary lines again at the end of everything.
summaries=()
run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  if ! ctest --test-dir "$dir" --output-on-failure -j "$jobs" 2>&1 | tee "$log"; then
    rm -f "$log"
    return 1
  fi
  summaries+=("$dir: $(grep -E 'tests passed|tests failed|No tests were found' "$log" | tail -n 1 || true)")
  rm -f "$log"
}

step "Layout of the sources (.clang-format)"
# Every C++ source is laid out as clang-format lays it out; a file that is not fails the step and
# clang-format names the lines (clang-format-14 -i FILE lays it out).
find src tests bench fuzz tools \( -name '*.cpp' -o -name '*.h' \) -print0 \
  | xargs -0 clang-format-14 --dry-run --Werror
summaries+=("clang-format: every source is laid out")

step "Release build and tests (build/)"
# The presets (CMakePresets.json) give every option, so that a build folder configured
# differently before (by scripts/run.sh, say) cannot drop a part.
cmake --preset release
cmake --build build -j "$jobs"
run_ctest build

step "clang-tidy over the core (build/compile_commands.json)"
# The checks of .clang-tidy over every source of src/core, with its headers; any finding fails the
# step. Clang reads the GCC build's commands, so it is told to pass over GCC's own warning flags.
tidy_started=$SECONDS
run-clang-tidy-14 -p build -j "$jobs" -quiet -extra-arg=-Wno-unknown-warning-option "$PWD/src/core/.*\.cpp\$"
summaries+=("clang-tidy: the core has no finding; the step took $((SECONDS - tidy_started)) s")

step "Install and Debian package (from build/)"
# The Release build installed into a prefix of its own: both programs run from there, the editor
# answers --version without a display and finds its data files, and cpack makes the package.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install build --prefix "$tmp"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tmp/bin/velmar" --version
"$tmp/bin/velmar-cli" sample "$tmp/s.nes"
test -s "$tmp/s.nes"
# Started from the prefix, the editor keeps VELMAR.INI in the user's configuration folder, although
# this prefix could take it: it makes the file at start-up, when it has found its data files.
XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" "$tmp/bin/velmar" 2>/dev/null &
editor=$!
for _ in $(seq 100); do
  [ -f "$tmp/config/Velmar/VELMAR.INI" ] && break
  sleep 0.1
done
kill "$editor" 2>/dev/null || true
wait "$editor" 2>/dev/null || true
test -f "$tmp/config/Velmar/VELMAR.INI"
test ! -e "$tmp/share/velmar/dat/VELMAR.INI"
# The README that Help opens, found from the program as the data files are, with its pictures.
test -f "$tmp/share/doc/velmar/README.md"
test -f "$tmp/share/doc/velmar/LICENSE"
test -f "$tmp/share/doc/velmar/docs/screenshots/main-window.png"
cpack --config build/CPackConfig.cmake -G DEB -B "$tmp/deb" >/dev/null
deb=$(echo "$tmp"/deb/velmar_*.deb)
test -f "$deb"
dpkg-deb -I "$deb" | grep '^ Depends: '
summaries+=("install: $(basename "$deb")")

step "Windows build and tests under Wine (build-windows/)"
# Qt for Windows, built once into a cache outside the repository (an hour and more on two cores;
# nothing when the cache is complete). Then the editor, the core, velmar-cli and every test,
# cross-built with MinGW-w64 and run by ctest under Wine, in a Wine prefix of the build's own
# (build-windows/wine-run sets the same environment), the window tests offscreen as on Linux.
windows_started=$SECONDS
./scripts/build-qt-windows.sh
qt_windows_seconds=$((SECONDS - windows_started))
# (Each Windows program gets five minutes: one that waits for a click in a window no one sees
# fails the step rather than stopping it.)
wine_run() {
  timeout 300 env WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8 \
    "$@"
}
cmake --preset windows
cmake --build build-windows -j "$jobs"
# Wine shows windows on an X display: a virtual one for this step (the window tests run offscreen,
# but the end of a Windows session reaches windows of Windows' own platform plugin only).
xvfb_display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$xvfb_display_file" 2>/dev/null &
xvfb=$!
trap 'rm -rf "$tmp" "$xvfb_display_file"; kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -s "$xvfb_display_file" ] && break
  sleep 0.1
done
export DISPLAY=":$(cat "$xvfb_display_file")"
# One server for the whole step, kept 30 s after its last program: ctest starts two programs at a
# time, and one that started just as the server of the one before was quitting lost its connection.
mkdir -p build-windows/wine
# (A server of this prefix left from a run just before is ended first: a second one would not start.)
wine_run wineserver -k 2>/dev/null || true
wine_run wineserver -w 2>/dev/null || true
wine_run wineserver -p30
# Wine makes the prefix on its first start (some seconds): once here, not in two tests at once.
# Its note that 32-bit Wine is missing is left out; nothing here is 32-bit. (Through a file: the
# services Wine starts keep what they were given open, and a pipe would wait for them, 50 s.)
wine_run wineboot --init >"$tmp/wineboot.log" 2>&1 || true
grep -v 'syswow64' "$tmp/wineboot.log" || true
# Now and then (about one run in three here) Wine drops a program as it starts it ("wine client
# error: ... Connection reset by peer", or a test program that lists nothing when ctest asks for
# its tests), which says nothing of the program: then the tests that failed, or all when the
# listing failed, run once more, and their second result stands.
windows_log=build-windows/ctest.log
windows_again=""
if ! ctest --test-dir build-windows --output-on-failure -j "$jobs" 2>&1 | tee "$windows_log"; then
  if grep -q 'Error running test executable' "$windows_log"; then
    echo "Wine did not start a test program to list its tests: the tests run once more." >&2
    ctest --test-dir build-windows --output-on-failure -j "$jobs" 2>&1 | tee "$windows_log"
  else
    grep -q 'wine client error' "$windows_log" || exit 1
    echo "Wine dropped a test program as it started it: the failed tests run once more." >&2
    ctest --test-dir build-windows --rerun-failed --output-on-failure
  fi
  windows_again=" (at a second start after Wine dropped a program)"
fi
summaries+=("build-windows: $(grep -E 'tests passed|tests failed' "$windows_log" | tail -n 1)$windows_again")

# Both programs, given the same commands on the same inputs, write the same bytes; the Windows one
# is given names that are not ASCII (UTF-8 here, UTF-16 on its command line).
compare=build-windows/cli-compare
rm -rf "$compare"
mkdir -p "$compare/linux" "$compare/windows"
linux_cli() { build/src/cli/velmar-cli "$@"; }
windows_cli() { wine_run wine build-windows/src/cli/velmar-cli.exe "$@"; }
linux_cli sample "$compare/linux/sample.nes"
windows_cli sample "$compare/windows/Ébauche.nes"
cmp "$compare/linux/sample.nes" "$compare/windows/Ébauche.nes"
for side in linux windows; do
  if [ "$side" = linux ]; then cli=linux_cli; rom=$compare/linux/sample.nes; else cli=windows_cli; rom=$compare/windows/Ébauche.nes; fi
  dir=$compare/$side
  $cli roundtrip "$rom" "$dir/関卡.nes"
  $cli render "$rom" c:030A12 "$dir/map.png" --actors
  $cli scene "$rom" c:02070C > "$dir/scene.json"
  $cli texts "$rom" > "$dir/texts.json"
  cp "$rom" "$dir/enemy.nes"
  $cli set-enemy "$dir/enemy.nes" c:000101 0 10 A5 7
  cp "$rom" "$dir/text.nes"
  $cli set-text "$dir/text.nes" 5 'HELLO\nWORLD\0'
  $cli patch "$rom" "$dir/text.nes" "$dir/text.ips"
  $cli patch "$rom" "$dir/enemy.nes" "$dir/enemy.bps"
  $cli export-scene "$rom" c:02070C "$dir/scene-file.json"
  $cli export-tiled "$rom" c:02070C "$dir/tiled.tmj"
  $cli export "$rom" "$dir/folder"
  $cli import "$dir/folder" "$dir/folder.nes"
done
diff -r "$compare/linux/folder" "$compare/windows/folder"
for file in 関卡.nes map.png scene.json texts.json enemy.nes text.nes text.ips enemy.bps scene-file.json tiled.tmj \
  tiled-metatiles.png folder.nes; do
  cmp "$compare/linux/$file" "$compare/windows/$file"
done
cmp -s "$compare/linux/sample.nes" "$compare/linux/enemy.nes" && { echo "set-enemy changed nothing" >&2; exit 1; }

# The zip and the installer, as a Windows user gets them.
cmake --build build-windows --target windows-packages
version=$(sed -n 's/^project(Velmar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=velmar-$version-windows-x64
windows_user=$(wine_run wine cmd /c 'echo %USERNAME%' | tr -d '\r')
appdata="build-windows/wine/drive_c/users/$windows_user/AppData/Roaming/Velmar"
rm -rf "$appdata"
# Unzipped anywhere, here into a folder whose name holds a space and letters beyond ASCII, both
# programs start with what is beside them (Wine is given no path to the build's DLLs): the editor
# shows its window with Windows' own platform plugin and makes its settings in %APPDATA%\Velmar.
unzipped="build-windows/Prüfung 關"
rm -rf "$unzipped"
mkdir -p "$unzipped"
(cd "$unzipped" && cmake -E tar xf "../$name.zip")
zip_folder="$unzipped/$name"
for file in velmar.exe velmar-cli.exe Qt6Core.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll dat/TBL.DAT \
  README.md LICENSE.txt licenses/Qt.txt licenses/Qt-LGPL-3.0.txt licenses/GPL-3.0.txt; do
  test -f "$zip_folder/$file" || { echo "$name.zip lacks $file" >&2; exit 1; }
done
# (Printed through a variable: tee /dev/stderr would open the log this output may go to anew, and
# empty it.)
zip_answer=$(wine_run wine "$zip_folder/velmar.exe" --version | tr -d '\r')
echo "$zip_answer"
grep -qx "Velmar $version" <<<"$zip_answer"
wine_run wine "$zip_folder/velmar-cli.exe" sample "$zip_folder/s.nes"
cmp "$zip_folder/s.nes" "$compare/linux/sample.nes"
wine_run wine "$zip_folder/velmar.exe" "$zip_folder/s.nes" 2>/dev/null &
editor=$!
for _ in $(seq 300); do
  [ -f "$appdata/VELMAR.INI" ] && break
  sleep 0.1
done
test -f "$appdata/VELMAR.INI" || { echo "velmar.exe from the zip did not start" >&2; exit 1; }
# Windows ends the session: the editor ends as it does at a logout.
wine_run wineboot --end-session >/dev/null 2>&1 || true
for _ in $(seq 300); do
  kill -0 "$editor" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$editor" 2>/dev/null; then
  echo "velmar.exe did not end with the session" >&2
  exit 1
fi
test ! -e "$zip_folder/dat/VELMAR.INI"

# The installer, silent: the program in Program Files, a Start menu entry, .nes files' "Open with
# Velmar"; the installed editor answers. The uninstaller removes what the installer put there
# and leaves the user's files: the settings, and a file of the user's in the program's folder.
drive_c=build-windows/wine/drive_c
installed="$drive_c/Program Files/Velmar"
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmar.lnk"
wine_run wine "build-windows/$name-setup.exe" /S
test -f "$installed/velmar.exe" && test -f "$installed/Qt6Widgets.dll" && test -f "$start_menu"
wine_run wine reg query 'HKLM\Software\Classes\Velmar.nes\shell\open\command' | grep -q 'velmar.exe'
wine_run wine reg query 'HKLM\Software\Classes\.nes\OpenWithProgids' | grep -q 'Velmar.nes'
wine_run wine 'C:\Program Files\Velmar\velmar.exe' --version | tr -d '\r' | grep -qx "Velmar $version"
cp "$zip_folder/s.nes" "$installed/my level.nes"
# The uninstaller copies itself aside and returns at once; it is done when it has removed itself.
wine_run wine 'C:\Program Files\Velmar\Uninstall.exe' /S
for _ in $(seq 300); do
  [ -e "$installed/Uninstall.exe" ] || break
  sleep 0.1
done
leftover=$(cd "$installed" && find . -type f | sort)
[ "$leftover" = "./my level.nes" ] || { echo "The uninstaller left: $leftover" >&2; exit 1; }
test ! -e "$start_menu"
! wine_run wine reg query 'HKLM\Software\Classes\Velmar.nes' >/dev/null 2>&1
test -f "$appdata/VELMAR.INI"
rm -rf "$installed"

wine_run wineserver -k || true
windows_seconds=$((SECONDS - windows_started))
summaries+=("windows: velmar.exe's tests passed under Wine, velmar-cli.exe wrote the same bytes as velmar-cli, $name.zip and $name-setup.exe installed, started and uninstalled; the step took ${windows_seconds} s (Qt for Windows: ${qt_windows_seconds} s)")

step "Sanitizer build and tests (build-asan/)"
cmake --preset asan
cmake --build build-asan -j "$jobs"
run_ctest build-asan

step "Benchmarks (short run)"
build/bench/velmar_bench --benchmark_min_time=0.05
build/bench/velmar_app_bench --benchmark_min_time=0.05

step "Fuzz targets, 10 s each (clang, build-fuzz/)"
# scripts/fuzz.sh builds every target and runs each one from its committed seeds; it prints one
# line per target and fails on a finding, whose input it leaves in build-fuzz/fuzz-runs/.
fuzz_log=build-fuzz/fuzz-summary.log
mkdir -p build-fuzz
if ! ./scripts/fuzz.sh 10 2>&1 | tee "$fuzz_log"; then
  echo "A fuzz target found a fault; see above." >&2
  exit 1
fi
fuzz_total=$(awk '$1 ~ /^fuzz_/ { runs += $2; found += $5 } END { printf "%d runs, %d findings", runs, found }' "$fuzz_log")
summaries+=("fuzz: $fuzz_total")

step "Done"
for line in "${summaries[@]}"; do
  echo "$line"
done
echo "scripts/test.sh took $((SECONDS - started)) s"
