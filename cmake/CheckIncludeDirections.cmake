# Fails when a source includes a header of a folder it may not use: the layers point
# one way, the core's folders include one another only downward, and no two folders
# include each other. Run as a test: cmake -DROOT=<source dir> -P <this>.
#
# Each rule names a folder of src/ and the folders its files may include besides their
# own. A name ending in "/*" stands for the folder and every folder below it; other
# names stand for that folder alone. A file follows the rule of the nearest folder
# above it that has one.
cmake_minimum_required(VERSION 3.25)
set(_rules
  "model:"
  "evaluation:model"
  "files:model,evaluation"
  "library:model,evaluation,files"
  "acquisition:model,evaluation"
  "acquisition/k40:acquisition,model,evaluation"
  "acquisition/card:acquisition,model,evaluation"
  "acquisition/electronics:acquisition,acquisition/k40,acquisition/card,model,evaluation"
  "simulator:acquisition,acquisition/k40,acquisition/card,acquisition/electronics,model,evaluation"
  "acquisition/ports:acquisition/*,simulator,model,evaluation,files"
  "widgets:"
  "display:display/*,acquisition,model,evaluation"
  "print:display/*,model,evaluation"
  "liveview:acquisition/*,model,evaluation,display/*"
  "app:app/*,display/*,print,widgets,liveview,acquisition/*,simulator,library,files,model,evaluation"
  "cli:cli/*,display/*,print,liveview,acquisition/*,simulator,library,files,model,evaluation")

set(_keys "")
foreach(_rule IN LISTS _rules)
  string(REPLACE ":" ";" _parts "${_rule}")
  list(GET _parts 0 _key)
  list(LENGTH _parts _count)
  set(_allowed "")
  if(_count GREATER 1)
    list(GET _parts 1 _allowed)
    string(REPLACE "," ";" _allowed "${_allowed}")
  endif()
  list(APPEND _keys ${_key})
  set("_allowed_${_key}" ${_allowed})
endforeach()

# The rule of `folder`: its own, or that of the nearest folder above it.
function(rule_of folder out)
  set(_f ${folder})
  while(TRUE)
    if(_f IN_LIST _keys)
      set(${out} ${_f} PARENT_SCOPE)
      return()
    endif()
    string(FIND "${_f}" "/" _slash REVERSE)
    if(_slash LESS 0)
      set(${out} "" PARENT_SCOPE)
      return()
    endif()
    string(SUBSTRING "${_f}" 0 ${_slash} _f)
  endwhile()
endfunction()

function(is_allowed key target out)
  set(${out} FALSE PARENT_SCOPE)
  foreach(_a IN LISTS "_allowed_${key}")
    if(_a MATCHES "/\\*$")
      string(REGEX REPLACE "/\\*$" "" _base ${_a})
      if(target STREQUAL _base OR target MATCHES "^${_base}/")
        set(${out} TRUE PARENT_SCOPE)
        return()
      endif()
    elseif(target STREQUAL _a)
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

set(_bad "")
file(GLOB_RECURSE _files RELATIVE ${ROOT}/src ${ROOT}/src/*.h ${ROOT}/src/*.cpp)
foreach(_f IN LISTS _files)
  get_filename_component(_folder ${_f} DIRECTORY)
  rule_of(${_folder} _key)
  if(NOT _key)
    list(APPEND _bad "${_f}: src/${_folder} has no rule in cmake/CheckIncludeDirections.cmake")
    continue()
  endif()
  file(STRINGS ${ROOT}/src/${_f} _lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(_line IN LISTS _lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" _header "${_line}")
    get_filename_component(_target ${_header} DIRECTORY)
    if(NOT EXISTS ${ROOT}/src/${_header} OR _target STREQUAL _folder)
      continue()
    endif()
    is_allowed(${_key} ${_target} _ok)
    if(NOT _ok)
      list(APPEND _bad "${_f} includes ${_header}: ${_key} may not use ${_target}")
    endif()
  endforeach()
endforeach()
if(_bad)
  list(JOIN _bad "\n" _text)
  message(FATAL_ERROR "Includes against the layering:\n${_text}")
endif()
