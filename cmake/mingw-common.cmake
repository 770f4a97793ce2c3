# Cross build with the MinGW-w64 compilers. The toolchain file sets MINGW_ARCH
# and the default thread model, MINGW_THREADS_DEFAULT; -DMINGW_THREADS=win32|posix
# chooses another (in a new build folder: CMake keeps the compilers it found first).
if(NOT MINGW_THREADS)
  set(MINGW_THREADS ${MINGW_THREADS_DEFAULT})
endif()
# try_compile projects read this file again without the cache; hand the choice on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MINGW_THREADS)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_ARCH})
set(CMAKE_C_COMPILER   ${MINGW_ARCH}-w64-mingw32-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_ARCH}-w64-mingw32-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER  ${MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
