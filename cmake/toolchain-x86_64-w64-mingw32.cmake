# Cross build of the same Windows program for x86_64, with Debian's
# x86_64-w64-mingw32 compilers: what the tests run under a 64-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LORVENA_MINGW_PREFIX x86_64-w64-mingw32)
set(LORVENA_MINGW_ARCH_FLAGS "")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
