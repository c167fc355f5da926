include(cmake/core_sources.cmake)
# A static library built for MinGW by one of the scripts/build-*-mingw.sh,
# installed under the folder given in PREFIX_VARIABLE.
function(vantrel_import_mingw_library target prefix_variable library link_libraries script)
  set(${prefix_variable} "" CACHE PATH "Where the MinGW build of ${library} is installed")
  set(prefix "${${prefix_variable}}")
  if(NOT EXISTS "${prefix}/lib/lib${library}.a")
    message(FATAL_ERROR "Set ${prefix_variable} to a MinGW ${library} install (${script})")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION "${prefix}/lib/lib${library}.a"
    INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include"
    INTERFACE_LINK_LIBRARIES "${link_libraries}")
endfunction()

vantrel_import_mingw_library(libzip_static VANTREL_LIBZIP_PREFIX zip "z;bcrypt;advapi32" scripts/build-libzip-mingw.sh)
set_property(TARGET libzip_static PROPERTY INTERFACE_COMPILE_DEFINITIONS ZIP_STATIC)
vantrel_import_mingw_library(minizip_static VANTREL_MINIZIP_PREFIX minizip "z" scripts/build-minizip-mingw.sh)

# RapidJSON is header-only: its Debian headers are used through a folder that
# holds nothing else, so no other Linux header can be picked up.
set(VANTREL_RAPIDJSON_INCLUDE "${CMAKE_BINARY_DIR}/third_party/include")
if(NOT EXISTS "${VANTREL_RAPIDJSON_INCLUDE}/rapidjson")
  file(MAKE_DIRECTORY "${VANTREL_RAPIDJSON_INCLUDE}")
  file(CREATE_LINK /usr/include/rapidjson "${VANTREL_RAPIDJSON_INCLUDE}/rapidjson" SYMBOLIC)
endif()

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# No DLL beside the program except Windows' own.
# Stripped: symbols after the last section would read as an attached package.
add_link_options(-static -static-libgcc -static-libstdc++ -municode -s)

add_library(vantrel_core STATIC ${VANTREL_CORE_SOURCES}
  shared/hosting/mime_registrations_win32.cpp
  platform/win32/binary_file_win32.cpp
  platform/win32/mapped_file_win32.cpp
  platform/win32/win_text.cpp
)
target_link_libraries(vantrel_core PUBLIC libzip_static advapi32)
target_include_directories(vantrel_core SYSTEM PUBLIC "${VANTREL_RAPIDJSON_INCLUDE}")

# Windows-only services shared by the program and the Windows test programs.
add_library(vantrel_win32 STATIC
  shared/util/sys_utils.cpp
  shared/util/str_utils_ole_win32.cpp
  shared/util/exe_resources_win32.cpp
  platform/win32/program_image_win32.cpp
  platform/win32/dialog_automation.cpp
  platform/win32/png_icon.cpp
  shared/edge/edge_loader.cpp
  shared/edge/edge_browser_win32.cpp
  shared/hosting/browser_form_win32.cpp
  shared/bridge/bridge_platform_win32.cpp
  platform/win32/ui_thread_queue.cpp
)
target_link_libraries(vantrel_win32 PUBLIC vantrel_core version shell32 shlwapi ole32 oleaut32 user32 gdi32 advapi32 comctl32 windowscodecs uuid)

add_subdirectory(runtime)
add_subdirectory(tools/pack)
add_subdirectory(engines/webview2)
add_subdirectory(engines/chromium)
add_subdirectory(engines/webview2/loader)
add_subdirectory(tests/win32)
