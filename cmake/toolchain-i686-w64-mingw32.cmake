# Cross build of the release: a 32-bit Windows GUI program with Debian's
# i686-w64-mingw32 compilers. SSE2 arithmetic (no x87 extended precision) so
# that it writes the same bytes as every other build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LORVENA_MINGW_PREFIX i686-w64-mingw32)
set(LORVENA_MINGW_ARCH_FLAGS "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
