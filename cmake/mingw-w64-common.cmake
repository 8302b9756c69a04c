# Shared part of the two mingw-w64 toolchain files: compilers, search paths
# and flags. The caller sets LORVENA_MINGW_PREFIX and LORVENA_MINGW_ARCH_FLAGS.
set(CMAKE_C_COMPILER ${LORVENA_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${LORVENA_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${LORVENA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LORVENA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CXX_FLAGS_INIT "${LORVENA_MINGW_ARCH_FLAGS} -ffp-contract=off")
set(CMAKE_C_FLAGS_INIT "${LORVENA_MINGW_ARCH_FLAGS} -ffp-contract=off")
# Everything static: the program needs no DLL beyond those Windows ships.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
