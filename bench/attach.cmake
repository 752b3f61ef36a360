# Adds bench/ to a build of the whole project without touching the top CMakeLists:
# bench/run passes this file as CMAKE_PROJECT_INCLUDE, and the call below runs once the
# top directory has been read, when every target the benchmark needs exists.
if(NOT ZV_BENCH_ATTACHED)
  set(ZV_BENCH_ATTACHED ON)
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL include ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
endif()
