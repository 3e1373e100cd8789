function(dyno_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wimplicit-fallthrough -Wformat=2 -Wnull-dereference -Wmissing-declarations)
  if(DYNO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
