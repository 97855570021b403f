# Build settings and helpers shared by every folder.

function(orvella_configure_native)
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE Debug PARENT_SCOPE)
  endif()
  # The fuzz build (clang, ORVELLA_FUZZ) instruments the portable code for libFuzzer; only
  # the fuzz targets themselves link libFuzzer's main.
  if(ORVELLA_FUZZ)
    set(sanitizers fuzzer-no-link,address,undefined)
  else()
    set(sanitizers address,undefined)
  endif()
  add_compile_options(-Wall -Wextra -fsanitize=${sanitizers} -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endfunction()

function(orvella_configure_windows)
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE Release PARENT_SCOPE)
  endif()
  add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0602 WINVER=0x0602
                          NTDDI_VERSION=0x06020000 NOMINMAX)
  add_compile_options(-Wall -Wextra -Wno-cast-function-type -Wno-missing-field-initializers)
  # Every deliverable runs from a bare folder: no MinGW runtime DLL beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Windows tests run under Wine in the build's private prefix, on its private display.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run ${CMAKE_BINARY_DIR}
      PARENT_SCOPE)
endfunction()

function(orvella_find_googletest)
  set(gtest_src /usr/src/googletest)
  if(NOT EXISTS ${gtest_src}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${gtest_src} (apt-get install googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(${gtest_src} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main gmock gmock_main)
    if(TARGET ${t})
      target_compile_options(${t} PRIVATE -w)
    endif()
  endforeach()
endfunction()

# orvella_windows_program(NAME <target> KIND GUI|CONSOLE SOURCES ... RC <file> LIBS ...)
# A statically linked 64-bit program with the wide-character entry point.
function(orvella_windows_program)
  cmake_parse_arguments(P "" "NAME;KIND;RC" "SOURCES;LIBS" ${ARGN})
  if(P_KIND STREQUAL "GUI")
    add_executable(${P_NAME} WIN32 ${P_SOURCES} ${P_RC})
  else()
    add_executable(${P_NAME} ${P_SOURCES} ${P_RC})
  endif()
  target_link_options(${P_NAME} PRIVATE -municode)
  target_link_libraries(${P_NAME} PRIVATE ${P_LIBS})
  set_target_properties(${P_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()

# The Windows libraries the main program and its tests link against.
set(ORVELLA_WIN32_LIBS
    ole32 oleaut32 uuid shell32 shlwapi comctl32 comdlg32 uxtheme dwmapi msimg32
    windowscodecs gdi32 user32 advapi32 wtsapi32 userenv powrprof version)

# orvella_resource_script(<target> <file.rc>): compiles a resource script of resources/
# with the generated artwork on windres's search path.
function(orvella_resource_script target rc)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/resources/${rc})
  set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/${rc} PROPERTIES
    OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/generated/orvella_version.h;${CMAKE_BINARY_DIR}/artwork/orvella.ico;${CMAKE_BINARY_DIR}/artwork/uninstall-side.bmp;${CMAKE_SOURCE_DIR}/resources/version.rc;${CMAKE_BINARY_DIR}/generated/app.manifest;${CMAKE_BINARY_DIR}/generated/uninstaller.manifest;${CMAKE_SOURCE_DIR}/resources/tvra_resources.h;${CMAKE_SOURCE_DIR}/resources/item_dialogs.rc;${CMAKE_SOURCE_DIR}/resources/about_box.rc;${CMAKE_SOURCE_DIR}/resources/drag_drop.rc;${CMAKE_BINARY_DIR}/artwork/picture-fixed.ico;${CMAKE_BINARY_DIR}/artwork/picture-moves.ico;${CMAKE_BINARY_DIR}/artwork/separator.ico;${CMAKE_BINARY_DIR}/artwork/search-box.ico;${CMAKE_SOURCE_DIR}/resources/options_sheet.rc")
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/resources ${CMAKE_BINARY_DIR}/artwork
                             ${CMAKE_BINARY_DIR}/generated)
  add_dependencies(${target} artwork)
endfunction()
