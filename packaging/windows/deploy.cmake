# Run by `cmake --install` of the Windows build (packaging/windows/install.cmake sets the
# VELMAR_ variables): puts beside velmar.exe the DLLs and Qt plugins it needs, and Qt's licences
# with where its source is.
cmake_policy(VERSION 3.22)
set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(qt ${VELMAR_QT_WINDOWS})

# 1. The plugins: Windows' own platform and the native style. Qt looks for them in folders of
# these names beside the program.
set(plugins "")
foreach(plugin platforms/qwindows.dll styles/qwindowsvistastyle.dll)
  if(NOT EXISTS ${qt}/plugins/${plugin})
    message(FATAL_ERROR "${qt}/plugins/${plugin} is missing: the Qt for Windows there is not complete")
  endif()
  get_filename_component(folder ${plugin} DIRECTORY)
  file(INSTALL ${qt}/plugins/${plugin} DESTINATION ${prefix}/${folder})
  list(APPEND plugins ${prefix}/${plugin})
endforeach()

# 2. Every DLL the programs and the plugins import, and the DLLs those import, that is not part
# of Windows: Qt's and the C++ runtime's. CMake looks for a Windows DLL by its name in lower case,
# as Windows would find it; this file system tells cases apart, so the search goes through a
# folder of links named in lower case, and each DLL is installed under its own name.
set(names ${prefix}/.dll-names)
file(REMOVE_RECURSE ${names})
file(MAKE_DIRECTORY ${names})
foreach(folder IN LISTS VELMAR_WINDOWS_DLL_DIRS)
  file(GLOB dlls ${folder}/*.dll)
  foreach(dll IN LISTS dlls)
    get_filename_component(name ${dll} NAME)
    string(TOLOWER ${name} lower)
    if(NOT EXISTS ${names}/${lower})
      file(CREATE_LINK ${dll} ${names}/${lower} SYMBOLIC)
      set(velmar_dll_${lower} ${dll})
    endif()
  endforeach()
endforeach()
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${VELMAR_OBJDUMP})
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${VELMAR_PROGRAMS}
  MODULES ${plugins}
  DIRECTORIES ${names}
  RESOLVED_DEPENDENCIES_VAR found
  UNRESOLVED_DEPENDENCIES_VAR system)
file(REMOVE_RECURSE ${names})
set(shipped ${plugins})
foreach(dll IN LISTS found)
  get_filename_component(lower ${dll} NAME)
  string(TOLOWER ${lower} lower)
  file(INSTALL ${velmar_dll_${lower}} DESTINATION ${prefix})
  get_filename_component(name ${velmar_dll_${lower}} NAME)
  list(APPEND shipped ${prefix}/${name})
endforeach()
# The C++ runtime comes with its debugging information (20 MB of the 23): none is shipped.
execute_process(COMMAND ${VELMAR_STRIP} --strip-debug ${shipped} RESULT_VARIABLE stripped)
if(NOT stripped EQUAL 0)
  message(FATAL_ERROR "${VELMAR_STRIP} could not strip the DLLs")
endif()
# What is not found beside Qt or the compiler must come with Windows: the system's own DLLs.
foreach(dll IN LISTS system)
  string(TOLOWER ${dll} name)
  if(name MATCHES "^(qt6|lib(stdc|gcc|winpthread))")
    message(FATAL_ERROR "${dll}, which a program or plugin imports, was not found in ${VELMAR_WINDOWS_DLL_DIRS}")
  endif()
endforeach()

# 3. Qt's licence, and where its source is. The LGPL 3 is a set of permissions added to the GPL
# 3, so both texts come along; the third-party code inside Qt's DLLs is listed with its notices.
file(GLOB dsc ${qt}/qt6-base_*.dsc)
file(GLOB orig ${qt}/qt6-base_*.orig.tar.*)
if(NOT dsc OR NOT orig)
  message(FATAL_ERROR "${qt} does not keep the source Qt was built from (scripts/build-qt-windows.sh keeps it)")
endif()
set(work ${prefix}/licenses/.qt-source)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
# Qt's licence texts, and the attributions of the code Qt carries, from the very source it was
# built from; only the parts in the shipped DLLs (Core, Gui, Widgets, the Windows plugins).
set(parts
  src/3rdparty/blake2 src/3rdparty/double-conversion src/3rdparty/easing src/3rdparty/freetype
  src/3rdparty/harfbuzz-ng src/3rdparty/icc src/3rdparty/libpng src/3rdparty/md4 src/3rdparty/md4c
  src/3rdparty/md5 src/3rdparty/pcre2 src/3rdparty/rfc6234 src/3rdparty/sha1 src/3rdparty/sha3
  src/3rdparty/tinycbor src/3rdparty/zlib src/corelib/kernel src/corelib/text src/corelib/tools
  src/gui/painting src/gui/text)
set(patterns "*/LICENSES/LGPL-3.0-only.txt" "*/LICENSES/GPL-3.0-only.txt")
foreach(part IN LISTS parts)
  list(APPEND patterns "*/${part}/qt_attribution.json")
endforeach()
execute_process(COMMAND tar -xf ${orig} -C ${work} --strip-components=1 --wildcards ${patterns}
                RESULT_VARIABLE r ERROR_VARIABLE error)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "Qt's licences could not be read from ${orig}: ${error}")
endif()
file(COPY_FILE ${work}/LICENSES/LGPL-3.0-only.txt ${prefix}/licenses/Qt-LGPL-3.0.txt)
file(COPY_FILE ${work}/LICENSES/GPL-3.0-only.txt ${prefix}/licenses/GPL-3.0.txt)

# Each attribution names its component, version, licence, copyright and licence file; the
# licence files are read in a second pass.
set(entries "")
set(licence_files "")
foreach(part IN LISTS parts)
  if(NOT EXISTS ${work}/${part}/qt_attribution.json)
    continue()
  endif()
  file(READ ${work}/${part}/qt_attribution.json json)
  string(JSON type TYPE "${json}")
  if(type STREQUAL "OBJECT")
    set(json "[${json}]")
  endif()
  string(JSON count LENGTH "${json}")
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    set(entry "")
    foreach(field Name Version License Copyright LicenseFile)
      string(JSON value ERROR_VARIABLE missing GET "${json}" ${i} ${field})
      if(missing)
        set(value "")
      endif()
      string(REPLACE ";" "," value "${value}")  # the fields go into a CMake list
      string(REPLACE "|" "/" value "${value}")
      set(${field} "${value}")
    endforeach()
    if(LicenseFile)
      cmake_path(SET LicenseFile NORMALIZE "${part}/${LicenseFile}")
      list(APPEND licence_files "*/${LicenseFile}")
    endif()
    list(APPEND entries "${Name}|${Version}|${License}|${LicenseFile}|${part}")
    set(copyright_${Name} "${Copyright}")
  endforeach()
endforeach()
list(REMOVE_DUPLICATES licence_files)
# (A licence file the source lacks is left out; its attribution still names the licence.)
execute_process(COMMAND tar -xf ${orig} -C ${work} --strip-components=1 --wildcards ${licence_files}
                RESULT_VARIABLE r ERROR_VARIABLE error)

get_filename_component(orig_name ${orig} NAME)
get_filename_component(dsc_name ${dsc} NAME)
file(SHA256 ${orig} orig_sha)
string(REGEX MATCH "qt6-base_([^_]+)\\.dsc" ignored ${dsc_name})
set(debian_version ${CMAKE_MATCH_1})
string(REGEX MATCH "^[0-9.]+" qt_version ${debian_version})
set(text "Qt ${qt_version}: the libraries beside velmar.exe (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll)
and the plugins in platforms\\ and styles\\

Qt is made by The Qt Company and the Qt Project. Velmar uses it under the GNU Lesser General
Public License, version 3: Qt-LGPL-3.0.txt in this folder, which adds its permissions to the GNU
General Public License, version 3 (GPL-3.0.txt). Velmar itself is under the MIT License
(LICENSE.txt beside velmar.exe).

Where the source is
-------------------
These DLLs were built, unchanged, from Debian's source package of Qt, qt6-base ${debian_version},
whose upstream part is ${orig_name}
(SHA-256 ${orig_sha}).
Debian's archive keeps that package: `apt-get source qt6-base=${debian_version}` on Debian 12
fetches it, and the Debian snapshot archive keeps every version. Its upstream part is the Qt
Project's qtbase-everywhere-src-${qt_version} release, less a few files Debian leaves out. Velmar's own source holds the script that built
these DLLs from it (scripts/build-qt-windows.sh: MinGW-w64 GCC 12 with POSIX threads, a shared
Release build with SQL, network, OpenGL, D-Bus, printing, concurrency, XML and tablet support
left out). Should that source ever not be found there, ask the Velmar developers for it.

Using another Qt
----------------
velmar.exe loads Qt from the DLLs beside it. You may replace them with your own build of Qt
${qt_version}, changed or not, made with the same compiler (MinGW-w64 x86_64, POSIX threads):
copy your Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll and plugins over these.

Code of others inside Qt's libraries
------------------------------------
")
list(SORT entries)
list(REMOVE_DUPLICATES entries)
foreach(entry IN LISTS entries)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 name)
  list(GET fields 1 version)
  list(GET fields 2 licence)
  list(GET fields 3 file)
  string(APPEND text "\n${name}")
  if(version)
    string(APPEND text " ${version}")
  endif()
  string(APPEND text " (${licence})\n${copyright_${name}}\n")
  if(file AND EXISTS ${work}/${file})
    file(READ ${work}/${file} licence_text)
    string(APPEND text "\n${licence_text}\n")
  endif()
  string(APPEND text "----------------------------------------------------------------------\n")
endforeach()
file(WRITE ${prefix}/licenses/Qt.txt "${text}")
file(REMOVE_RECURSE ${work})
