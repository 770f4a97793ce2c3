# The product: a 32-bit Windows program. It starts no threads, so the "win32"
# thread model serves it and keeps winpthreads out of the exe.
set(MINGW_ARCH i686)
set(MINGW_THREADS_DEFAULT win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
