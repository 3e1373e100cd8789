# Stages an installation of the build in BUILD into STAGE and checks that it holds
# what a workshop's menu, man and F1 need.
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE}
                RESULT_VARIABLE _result OUTPUT_QUIET)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "the installation failed (${_result})")
endif()
foreach(_file bin/vkr_dyno bin/dynotool share/applications/vkr_dyno.desktop
        share/icons/hicolor/256x256/apps/vkr_dyno.png share/man/man1/vkr_dyno.1
        share/man/man1/dynotool.1 share/doc/vkr-dyno/manual/index.html)
  if(NOT EXISTS ${STAGE}/${_file})
    message(FATAL_ERROR "the installation lacks ${_file}")
  endif()
endforeach()
file(READ ${STAGE}/share/applications/vkr_dyno.desktop _entry)
if(NOT _entry MATCHES "Exec=vkr_dyno --user-folder\n")
  message(FATAL_ERROR "the desktop entry does not start the program in the user's folder")
endif()
file(REMOVE_RECURSE ${STAGE})
