# Shared compile options for every target of the project.
add_library(velmok_options INTERFACE)
if(MSVC)
  target_compile_options(velmok_options INTERFACE /W4 /utf-8 /permissive-)
else()
  target_compile_options(velmok_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Wno-missing-field-initializers
    -finput-charset=UTF-8 -fexec-charset=UTF-8)
endif()
if(WIN32)
  target_compile_definitions(velmok_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()
if(VELMOK_SANITIZE AND NOT WIN32)
  target_compile_options(velmok_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(velmok_options INTERFACE -fsanitize=address,undefined)
endif()

# A Windows program whose entry point takes wide arguments (wWinMain or wmain). MSVC picks the
# entry point by itself; MinGW needs to be told.
function(velmok_wide_entry target)
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# Product code: the programs and everything they are built from (called by their folders). For
# Windows it compiles without a single warning on both architectures (a narrowing that is harmless
# on x64 fails the build on x86), and against the declarations of Windows 7 SP1, the oldest system
# it runs on, so that a direct call of a newer function does not compile. The few newer functions
# the program uses are looked up at run time in one place (src/platform/win32/newer_windows.cpp).
function(velmok_product_code)
  if(WIN32)
    add_compile_options($<IF:$<CXX_COMPILER_ID:MSVC>,/WX,-Werror>)
    add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()

# Tests and benchmarks run only here, under Wine, which has every function: they may use the newest
# declarations, for instance to check the program's answers against Windows' own.
function(velmok_test_code)
  if(WIN32)
    add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00)
  endif()
endfunction()
