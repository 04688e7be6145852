#!/usr/bin/env bash
# Installs what Velmar needs to build, test, benchmark, fuzz and package on Debian 12 (bookworm).
# Does nothing when everything is already there, so it is cheap to run before every build.
set -euo pipefail

packages=(
  build-essential cmake ninja-build          # compilers and build tools
  qt6-base-dev                               # Qt 6 Core, Gui and Widgets
  nlohmann-json3-dev libstb-dev              # JSON output, scene files, Tiled maps, PNG files
  libgtest-dev libgmock-dev                  # tests
  tiled                                      # tests only: Tiled reads and writes the maps velmar-cli
                                             # exports (the test fails without it)
  libbenchmark-dev                           # benchmarks
  clang libclang-rt-14-dev                   # the fuzz targets (libFuzzer and the sanitizers)
  clang-tidy clang-format                    # the core's static checks (.clang-tidy) and the
                                             # sources' layout (.clang-format)
  xvfb xauth                                 # window tests on a machine without a display
  dpkg-dev file                              # the Debian package (dpkg-shlibdeps finds its dependencies,
                                             # CPack names the programs' types with file)
  ccache                                     # scripts/test.sh compiles through it: a run that
                                             # changed little compiles little
  g++-mingw-w64-x86-64-posix googletest      # the Windows build (GoogleTest built from its sources)
  wine wine64                                # ... and its tests
  nsis                                       # the Windows installer (makensis)
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$package")
  fi
done
if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps.sh: run as root to install ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
