# The cross build for Windows (MinGW-w64, cmake/mingw-w64-x86_64.cmake), whose programs and tests
# run under Wine.
#
# The editor takes Qt for Windows from the cache that scripts/build-qt-windows.sh fills once (the
# Qt version the Linux build uses, built from Debian's own source with the same MinGW-w64), or
# from any MinGW-w64 Qt 6 prefix given as -DVELMAR_QT_WINDOWS=DIR. Debian's Qt for this machine
# runs moc, rcc and uic.
set(VELMAR_WINDOWS_DLL_DIRS "")
if(VELMAR_BUILD_APP)
  if(NOT VELMAR_QT_WINDOWS)
    execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/build-qt-windows.sh --prefix
                    OUTPUT_VARIABLE velmar_qt_cache OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE velmar_qt_found)
    if(NOT velmar_qt_found EQUAL 0 OR NOT EXISTS ${velmar_qt_cache}/velmar-qt-complete)
      message(FATAL_ERROR "Qt for Windows is not built yet (looked in '${velmar_qt_cache}'): "
                          "scripts/build-qt-windows.sh builds it once, or -DVELMAR_BUILD_APP=OFF builds "
                          "everything but the editor.")
    endif()
    set(VELMAR_QT_WINDOWS ${velmar_qt_cache} CACHE PATH "Qt for Windows built with MinGW-w64 (its prefix)")
  endif()
  if(NOT EXISTS ${VELMAR_QT_WINDOWS}/lib/cmake/Qt6/Qt6Config.cmake)
    message(FATAL_ERROR "VELMAR_QT_WINDOWS (${VELMAR_QT_WINDOWS}) holds no Qt 6 for Windows")
  endif()
  list(APPEND CMAKE_PREFIX_PATH ${VELMAR_QT_WINDOWS})
  # The toolchain looks for packages under its roots only: the Qt prefix becomes one.
  list(APPEND CMAKE_FIND_ROOT_PATH ${VELMAR_QT_WINDOWS})

  file(GLOB velmar_host_qt_tools /usr/lib/*/cmake/Qt6CoreTools)
  if(NOT velmar_host_qt_tools)
    message(FATAL_ERROR "Qt 6 for this machine (qt6-base-dev) runs moc, rcc and uic for the Windows build: "
                        "run scripts/install-deps.sh")
  endif()
  list(GET velmar_host_qt_tools 0 velmar_host_qt_tools)
  get_filename_component(velmar_host_qt_cmake ${velmar_host_qt_tools} DIRECTORY)
  set(QT_HOST_PATH /usr CACHE PATH "Qt for the build machine, whose tools the Windows build runs")
  set(QT_HOST_PATH_CMAKE_DIR ${velmar_host_qt_cmake} CACHE PATH "Qt for the build machine's CMake files")
  list(APPEND VELMAR_WINDOWS_DLL_DIRS ${VELMAR_QT_WINDOWS}/bin)
endif()

# The programs take the C++ runtime from its DLLs, as the Qt DLLs do, so that a process has one
# (velmar-cli alone links it in: it runs with nothing beside it). Wine finds those DLLs, and
# Qt's, on its search path; Qt finds its plugins from its own DLLs.
foreach(dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE found
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(found ${found} REALPATH)
  get_filename_component(folder ${found} DIRECTORY)
  list(APPEND VELMAR_WINDOWS_DLL_DIRS ${folder})
endforeach()
list(REMOVE_DUPLICATES VELMAR_WINDOWS_DLL_DIRS)

# Programs and tests run under Wine through a script of the build's own that puts those folders
# on Wine's search path (a CMake list cannot carry the ';' between them).
if(CMAKE_CROSSCOMPILING_EMULATOR)
  # (No ';' at the end: an empty entry makes Wine's cmd.exe report every unknown command found.)
  set(velmar_winepath "")
  foreach(folder IN LISTS VELMAR_WINDOWS_DLL_DIRS)
    string(REPLACE "/" "\\" folder "Z:${folder}")
    if(velmar_winepath)
      string(APPEND velmar_winepath ";")
    endif()
    string(APPEND velmar_winepath "${folder}")
  endforeach()
  set(velmar_words "")
  foreach(word IN LISTS CMAKE_CROSSCOMPILING_EMULATOR)
    string(APPEND velmar_words " '${word}'")
  endforeach()
  set(VELMAR_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
  file(WRITE ${VELMAR_WINE_RUN}
       "#!/bin/sh\n# Runs a Windows program of this build under Wine, with the DLLs it needs on Wine's path.\n"
       "exec env 'WINEPATH=${velmar_winepath}'${velmar_words} \"$@\"\n")
  file(CHMOD ${VELMAR_WINE_RUN} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
       WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMAR_WINE_RUN})
endif()
