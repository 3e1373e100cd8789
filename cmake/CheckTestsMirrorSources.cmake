# Fails when a folder of tests/ has no folder of the same path in src/: the tests of
# src/<path> live in tests/<path>, so a reader finds them where the code is.
# tests/data (recorded files) and tests/support (test mains and shared helpers) are
# the tests' own. Run as a test: cmake -DROOT=<source dir> -P <this>.
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE _files RELATIVE ${ROOT}/tests ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h)
set(_bad "")
foreach(_f IN LISTS _files)
  get_filename_component(_folder ${_f} DIRECTORY)
  if(NOT _folder OR _folder MATCHES "^(data|support)(/|$)")
    continue()
  endif()
  if(NOT IS_DIRECTORY ${ROOT}/src/${_folder})
    list(APPEND _bad "tests/${_f}: there is no src/${_folder}")
  endif()
endforeach()
list(REMOVE_DUPLICATES _bad)
if(_bad)
  list(JOIN _bad "\n" _text)
  message(FATAL_ERROR "Tests outside the mirror of src/:\n${_text}")
endif()
