# Stages an installation of the build in BUILD into STAGE and checks that it holds
# what a workshop's menu, man and F1 need.
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE}
                RESULT_VARIABLE _result OUTPUT_QUIET)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "the installation failed (${_result})")
endif()
foreach(_file bin/vkr_dyno bin/dynotool share/applications/vkr_dyno.desktop
        share/icons/hicolor/256x256/apps/vkr_dyno.png share/man/man1/vkr_dyno.1.gz
        share/man/man1/dynotool.1.gz share/doc/vkr-dyno/manual/index.html
        share/doc/vkr-dyno/copyright share/doc/vkr-dyno/changelog.gz)
  if(NOT EXISTS ${STAGE}/${_file})
    message(FATAL_ERROR "the installation lacks ${_file}")
  endif()
endforeach()
file(READ ${STAGE}/share/applications/vkr_dyno.desktop _entry)
if(NOT _entry MATCHES "Exec=vkr_dyno --user-folder\n")
  message(FATAL_ERROR "the desktop entry does not start the program in the user's folder")
endif()
# The man page lists every command line `dynotool --help` prints, word for word.
execute_process(COMMAND gzip -dc ${STAGE}/share/man/man1/dynotool.1.gz OUTPUT_VARIABLE _man
                RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "the man page dynotool.1.gz cannot be read")
endif()
string(REPLACE "\\-" "-" _man "${_man}")
string(REPLACE "\\e" "\\" _man "${_man}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                ${STAGE}/bin/dynotool --help OUTPUT_VARIABLE _help)
# The command lines of --help stand two spaces in, each on a line of its own.
string(REGEX MATCHALL "\n  dynotool [^\n]+" _usages "${_help}")
list(LENGTH _usages _count)
if(_count LESS 10)
  message(FATAL_ERROR "dynotool --help lists only ${_count} command lines")
endif()
foreach(_usage IN LISTS _usages)
  string(REGEX REPLACE "^\n  " "" _usage "${_usage}")
  string(FIND "${_man}" ".B ${_usage}\n" _at)
  if(_at EQUAL -1)
    message(FATAL_ERROR "man dynotool lacks: ${_usage}")
  endif()
endforeach()
file(REMOVE_RECURSE ${STAGE})
