# cmake -DBUILD=... -DNAME=... -DVERSION=... -DMAKENSIS=... -DSOURCE=... -P make_packages.cmake
# (the target windows-packages): the Windows program folder installed into BUILD/package/NAME,
# then BUILD/NAME.zip of that folder and the installer BUILD/NAME-setup.exe made from it.
cmake_policy(VERSION 3.22)
set(stage ${BUILD}/package)
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${stage}/${NAME} OUTPUT_QUIET
                RESULT_VARIABLE r)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "The program folder could not be installed into ${stage}/${NAME}")
endif()

# The zip holds the folder, so that it unpacks into one.
file(REMOVE ${BUILD}/${NAME}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${BUILD}/${NAME}.zip --format=zip ${NAME}
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE r)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "${NAME}.zip could not be made")
endif()
message(STATUS "Made ${BUILD}/${NAME}.zip")

if(NOT MAKENSIS)
  message(FATAL_ERROR "makensis (package nsis) makes the installer: run scripts/install-deps.sh")
endif()
# The files, one File line each under the folder they go to, and the same as Delete lines
# followed by their folders, deepest first, for the uninstaller.
set(program ${stage}/${NAME})
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${program} ${program}/*)
list(SORT files)
set(install "")
set(uninstall "")
set(folders "")
set(current "-")
foreach(file IN LISTS files)
  get_filename_component(folder ${file} DIRECTORY)
  string(REPLACE "/" "\\" windows_file "${file}")
  string(REPLACE "/" "\\" windows_folder "${folder}")
  if(NOT "${folder}" STREQUAL "${current}")
    if(folder)
      string(APPEND install "SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
    else()
      string(APPEND install "SetOutPath \"$INSTDIR\"\n")
    endif()
    set(current "${folder}")
    while(folder)
      list(APPEND folders ${folder})
      get_filename_component(folder ${folder} DIRECTORY)
    endwhile()
  endif()
  string(APPEND install "File \"${program}/${file}\"\n")
  string(APPEND uninstall "Delete \"$INSTDIR\\${windows_file}\"\n")
endforeach()
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  string(REPLACE "/" "\\" folder "${folder}")
  string(APPEND uninstall "RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
file(WRITE ${stage}/files.nsh "${install}")
file(WRITE ${stage}/unfiles.nsh "${uninstall}")

set(setup ${BUILD}/${NAME}-setup.exe)
file(REMOVE ${setup})
execute_process(COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DPROGRAM=${program}
                        -DFILES=${stage}/files.nsh -DUNFILES=${stage}/unfiles.nsh -DICON=${SOURCE}/velmar.ico
                        -DOUTFILE=${setup} ${SOURCE}/velmar.nsi
                RESULT_VARIABLE r)
if(NOT r EQUAL 0 OR NOT EXISTS ${setup})
  message(FATAL_ERROR "makensis could not make ${setup}")
endif()
message(STATUS "Made ${setup}")
