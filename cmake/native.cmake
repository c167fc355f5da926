include(cmake/core_sources.cmake)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
find_package(ZLIB REQUIRED)

add_library(vantrel_core STATIC ${VANTREL_CORE_SOURCES} platform/posix/binary_file_posix.cpp
  platform/posix/mapped_file_posix.cpp)
target_link_libraries(vantrel_core PUBLIC PkgConfig::LIBZIP ZLIB::ZLIB)

add_subdirectory(tools/pack)
if(VANTREL_FUZZ)
  add_subdirectory(tests/fuzz)
  return()
endif()
add_subdirectory(engines/webview2)

enable_testing()
find_package(GTest REQUIRED)
add_subdirectory(tests/unit)

add_subdirectory(bench)
