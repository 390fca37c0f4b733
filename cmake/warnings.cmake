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
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
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
