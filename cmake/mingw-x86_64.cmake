# The same sources for x86_64, whose programs run here under wine64 for the tests.
# GoogleTest needs std::mutex, which only the "posix" compilers have; the
# program in this build is compiled by them too.
set(MINGW_ARCH x86_64)
set(MINGW_THREADS_DEFAULT posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# scripts/common.sh passes the wine64 loader where wine32 is installed too.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
