# What both toolchains share; each sets CMAKE_SYSTEM_PROCESSOR and ZV_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)
# The -posix variants carry std::thread and std::mutex; the -win32 ones do not.
set(CMAKE_C_COMPILER ${ZV_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZV_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZV_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZV_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
