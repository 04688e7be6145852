# The header-only libraries, from Debian's packages: nlohmann/json (nlohmann-json3-dev) for
# JSON (what velmar-cli prints, scene files, Tiled maps, the folder's files), stb_image and
# stb_image_write (libstb-dev) for PNG files.
#
# Both install under /usr/include, beside the host's C library. A cross build (MinGW-w64 for
# Windows) must not search there, so the headers are copied into a folder of the build and only
# that folder is given to the compiler, as a system folder: their warnings are not ours.
set(velmar_headers ${CMAKE_BINARY_DIR}/header-libraries)

find_path(VELMAR_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
find_path(VELMAR_STB_INCLUDE stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT VELMAR_NLOHMANN_JSON_INCLUDE OR NOT VELMAR_STB_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp or stb/stb_image.h not found: run scripts/install-deps.sh "
                      "(nlohmann-json3-dev, libstb-dev)")
endif()

file(COPY ${VELMAR_NLOHMANN_JSON_INCLUDE}/nlohmann DESTINATION ${velmar_headers}/json)
add_library(velmar_json INTERFACE)
target_include_directories(velmar_json SYSTEM INTERFACE ${velmar_headers}/json)

file(COPY ${VELMAR_STB_INCLUDE}/stb/stb_image.h ${VELMAR_STB_INCLUDE}/stb/stb_image_write.h
     DESTINATION ${velmar_headers}/stb/stb)
add_library(velmar_stb INTERFACE)
target_include_directories(velmar_stb SYSTEM INTERFACE ${velmar_headers}/stb)
