# minizip's unzip side, from the zlib sources that tools/deps unpacks out of Debian's source package.
set(ZV_MINIZIP_DIR "${ZV_CACHE_DIR}/minizip")
if(NOT EXISTS "${ZV_MINIZIP_DIR}/unzip.c")
  message(FATAL_ERROR "minizip sources missing in ${ZV_MINIZIP_DIR}: run tools/deps")
endif()
# Static zlib: the shipped executable must need no zlib1.dll beside it.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
add_library(minizip STATIC ${ZV_MINIZIP_DIR}/unzip.c ${ZV_MINIZIP_DIR}/ioapi.c)
target_include_directories(minizip SYSTEM PUBLIC ${ZV_MINIZIP_DIR})
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
# The zip writer and iowin32 serve tests and the benchmark's peer, never the launcher.
add_library(minizip_extra STATIC ${ZV_MINIZIP_DIR}/zip.c ${ZV_MINIZIP_DIR}/iowin32.c)
target_compile_options(minizip_extra PRIVATE -w)
target_link_libraries(minizip_extra PUBLIC minizip)
