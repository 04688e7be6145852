# The Windows program folder, as the zip and the installer ship it (cmake --install build-windows
# --prefix DIR makes it; the target windows-packages makes both from it):
#
#   velmar.exe, velmar-cli.exe    the editor (a window program) and the command-line tool
#   Qt6*.dll, lib*.dll            the Qt libraries and the MinGW-w64 C++ runtime the editor needs
#   platforms\qwindows.dll        Qt's Windows platform plugin
#   styles\qwindowsvistastyle.dll the native look of Windows' controls
#   dat\                          TBL.DAT, ITEM.DAT, ENEMY.DAT (settings go to %APPDATA%\Velmar)
#   README.md, docs\screenshots\  the README that Help opens, with its pictures
#   LICENSE.txt, licenses\        Velmar's licence; Qt's (LGPL 3, with GPL 3 which it builds on),
#                                 where Qt's source is, and the notices of the code inside the
#                                 programs and the DLLs
#
# These are what windeployqt would copy, less the image format plugins: Velmar reads and writes
# PNG itself and shows nothing else. The DLLs are found by reading the programs' imports (and
# the imports of those), as Windows does.
if(NOT TARGET velmar)
  # Without the editor (VELMAR_BUILD_APP=OFF): velmar-cli.exe alone, which needs nothing beside it.
  if(TARGET velmar-cli)
    install(TARGETS velmar-cli RUNTIME DESTINATION .)
  endif()
  return()
endif()

install(TARGETS velmar velmar-cli RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/dat/TBL.DAT ${PROJECT_SOURCE_DIR}/dat/ITEM.DAT ${PROJECT_SOURCE_DIR}/dat/ENEMY.DAT
        DESTINATION dat)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/screenshots DESTINATION docs)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# The notices of what is built into the programs from Debian's packages, in their Debian form.
foreach(notice "nlohmann-json3-dev;nlohmann-json.txt" "libstb-dev;stb.txt" "mingw-w64-common;mingw-w64-runtime.txt"
               "gcc-mingw-w64-base;gcc-runtime.txt")
  list(GET notice 0 package)
  list(GET notice 1 name)
  if(NOT EXISTS /usr/share/doc/${package}/copyright)
    message(FATAL_ERROR "/usr/share/doc/${package}/copyright is missing: run scripts/install-deps.sh")
  endif()
  install(FILES /usr/share/doc/${package}/copyright DESTINATION licenses RENAME ${name})
endforeach()

find_program(VELMAR_MINGW_OBJDUMP NAMES x86_64-w64-mingw32-objdump REQUIRED)
find_program(VELMAR_MINGW_STRIP NAMES x86_64-w64-mingw32-strip REQUIRED)
install(CODE "
  set(VELMAR_QT_WINDOWS \"${VELMAR_QT_WINDOWS}\")
  set(VELMAR_WINDOWS_DLL_DIRS \"${VELMAR_WINDOWS_DLL_DIRS}\")
  set(VELMAR_OBJDUMP \"${VELMAR_MINGW_OBJDUMP}\")
  set(VELMAR_STRIP \"${VELMAR_MINGW_STRIP}\")
  set(VELMAR_PROGRAMS \"$<TARGET_FILE:velmar>;$<TARGET_FILE:velmar-cli>\")
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/deploy.cmake)

# The zip and the installer: build-windows/velmar-<version>-windows-x64.zip and
# build-windows/velmar-<version>-windows-x64-setup.exe.
find_program(VELMAR_MAKENSIS makensis)
add_custom_target(windows-packages
  COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DNAME=velmar-${PROJECT_VERSION}-windows-x64
          -DVERSION=${PROJECT_VERSION} -DMAKENSIS=${VELMAR_MAKENSIS} -DSOURCE=${CMAKE_CURRENT_LIST_DIR}
          -P ${CMAKE_CURRENT_LIST_DIR}/make_packages.cmake
  DEPENDS velmar velmar-cli
  COMMENT "Making the Windows zip and installer"
  VERBATIM)
