# What both MinGW-w64 cross builds share: Debian's toolchain of the target ${velmok_mingw_triple}
# with the posix thread model. Included by the toolchain files of the two architectures.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${velmok_mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${velmok_mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${velmok_mingw_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${velmok_mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The programs carry their runtime with them, so Wine and a bare Windows need no MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
