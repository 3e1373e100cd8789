function(dyno_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wimplicit-fallthrough -Wformat=2 -Wmissing-declarations
    # Ticks, sample counts and byte values pass between widths and signedness all
    # over the acquisition code: every narrowing or sign change is written out.
    -Wconversion -Wsign-conversion -Wold-style-cast)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # gcc only; clang (the fuzz build) does not know it.
    target_compile_options(${target} PRIVATE -Wuseless-cast)
  endif()
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # gcc 12 at -O2/-O3 reports impossible overlaps in std::string's operator+
    # (a known false positive of its -Wrestrict); later versions do not.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(DYNO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
