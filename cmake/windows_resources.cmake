# velmar_windows_resources(TARGET DESCRIPTION): the icon and the version of a Windows program,
# from packaging/windows/velmar.rc.in.
function(velmar_windows_resources target description)
  set(VELMAR_ICON ${PROJECT_SOURCE_DIR}/packaging/windows/velmar.ico)
  set(VELMAR_FILE_DESCRIPTION ${description})
  set(VELMAR_FILE_NAME ${target})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/velmar.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()
