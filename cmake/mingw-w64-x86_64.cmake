# Cross-builds Velmar for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix);
# ctest runs what it builds under Wine. The editor needs Qt for Windows, which
# scripts/build-qt-windows.sh builds once (cmake/windows_cross.cmake finds it); everything else
# (the core, the sample, velmar-cli and the tests) needs nothing more. scripts/test.sh builds it
# all in build-windows/ (cmake --preset windows); without the editor:
#
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#     -DVELMAR_BUILD_APP=OFF -DVELMAR_BUILD_BENCH=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The -posix compilers: their threads are POSIX threads (winpthreads), which std::thread and
# std::mutex need; GCC 12's -win32 ones have neither.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs run under Wine in a prefix of this build's own, made by the first start. WINEDEBUG
# keeps Wine's own notes off the output; without Mono and Gecko Wine asks for no downloads; and
# in a UTF-8 locale Wine passes UTF-8 arguments and file names on unchanged (in the C locale it
# would mangle every byte above 127).
find_program(VELMAR_WINE wine)
if(VELMAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LC_ALL=C.UTF-8
      ${VELMAR_WINE})
endif()
