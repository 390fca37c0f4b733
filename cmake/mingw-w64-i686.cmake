# Cross build for 32-bit Windows with Debian's MinGW-w64 (posix thread model, DWARF-2 exceptions:
# an exception cannot unwind through a frame of Windows' own, so no callback may let one out).
# No emulator: these machines run no 32-bit Windows program.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(velmok_mingw_triple i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake")
