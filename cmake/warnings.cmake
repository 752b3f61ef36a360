# Project code builds warning-free; third-party sources (minizip, GoogleTest) do not get these.
add_library(zv_options INTERFACE)
target_compile_options(zv_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Werror -Wno-missing-field-initializers -Wno-cast-function-type>)
target_compile_definitions(zv_options INTERFACE UNICODE _UNICODE NOMINMAX
  _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0700)
target_include_directories(zv_options INTERFACE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
# Static runtime: the executable needs no DLL beside it.
target_link_options(zv_options INTERFACE -static -static-libgcc -static-libstdc++)
# The shipping build carries no symbols.
target_link_options(zv_options INTERFACE $<$<CONFIG:Release>:-s>)
