# The test programs run under Wine as the cross-compiling emulator. Wine is found the one way
# the scripts find it (zv_find_wine in tools/lib/session.sh); tools/test and tools/demo have
# found it already and hand it over in ZV_WINE.
if(NOT ZV_WINE)
  execute_process(
    COMMAND bash -c ". '${CMAKE_CURRENT_LIST_DIR}/../tools/lib/session.sh' && zv_find_wine && printf %s \"$ZV_WINE\""
    OUTPUT_VARIABLE ZV_WINE)
  set(ZV_WINE "${ZV_WINE}" CACHE FILEPATH "Wine's 64-bit loader, which runs the test programs")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZV_WINE})
