# What an installation holds, and the Debian package of it (scripts/package):
# the two programs, the desktop entry and its icon drawn from the program's own
# emblem, man pages, and the HTML manual that F1 opens.
include(GNUInstallDirs)

add_executable(dyno_icon packaging/RenderIcon.cpp)
target_link_libraries(dyno_icon PRIVATE dyno_render)
dyno_warnings(dyno_icon)
set(DYNO_ICON ${CMAKE_BINARY_DIR}/vkr_dyno.png)
add_custom_command(OUTPUT ${DYNO_ICON}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:dyno_icon> ${DYNO_ICON} 256
  DEPENDS dyno_icon
  COMMENT "Drawing the desktop icon from the emblem")
add_custom_target(dyno_icon_png ALL DEPENDS ${DYNO_ICON})

install(TARGETS vkr_dyno dynotool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/vkr_dyno.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DYNO_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
# dynotool's man page lists its commands from the table its --help prints. Man pages
# and the changelog are installed compressed, as Debian keeps them.
add_executable(dyno_manpage packaging/ManPage.cpp)
target_link_libraries(dyno_manpage PRIVATE dyno_cli)
dyno_warnings(dyno_manpage)
set(DYNO_MAN_DIR ${CMAKE_BINARY_DIR}/man)
add_custom_command(OUTPUT ${DYNO_MAN_DIR}/dynotool.1
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DYNO_MAN_DIR}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:dyno_manpage> ${PROJECT_SOURCE_DIR}/packaging/man/dynotool.1.in
          ${DYNO_MAN_DIR}/dynotool.1
  DEPENDS dyno_manpage packaging/man/dynotool.1.in
  COMMENT "Writing the man page of dynotool from its command table")
set(_compressed "")
foreach(_page ${DYNO_MAN_DIR}/dynotool.1 ${PROJECT_SOURCE_DIR}/packaging/man/vkr_dyno.1
        ${PROJECT_SOURCE_DIR}/packaging/changelog)
  get_filename_component(_name ${_page} NAME)
  add_custom_command(OUTPUT ${DYNO_MAN_DIR}/${_name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DYNO_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${_page} ${DYNO_MAN_DIR}/${_name}.plain
    COMMAND gzip -9nf ${DYNO_MAN_DIR}/${_name}.plain
    COMMAND ${CMAKE_COMMAND} -E rename ${DYNO_MAN_DIR}/${_name}.plain.gz ${DYNO_MAN_DIR}/${_name}.gz
    DEPENDS ${_page}
    COMMENT "Compressing ${_name}")
  list(APPEND _compressed ${DYNO_MAN_DIR}/${_name}.gz)
endforeach()
add_custom_target(dyno_man_pages ALL DEPENDS ${_compressed})
install(FILES ${DYNO_MAN_DIR}/vkr_dyno.1.gz ${DYNO_MAN_DIR}/dynotool.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${DYNO_MAN_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vkr-dyno)
# Where the window looks for the manual, beside its own bin folder.
set(DYNO_MANUAL_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/doc/vkr-dyno/manual)
install(DIRECTORY docs/manual/ DESTINATION ${DYNO_MANUAL_INSTALL_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vkr-dyno)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VKR dyno")
set(CPACK_PACKAGE_CONTACT "VKR dyno maintainers <maintainers@vkr-dyno.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Roller dynamometer program for scooters and small motorcycles")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Controls the roller dyno's electronics (K40 on a serial port, the\n\
K70/K80 card), records test sessions, evaluates power and torque\n\
corrected to standard air, compares up to four sessions in one graph and\n\
prints a one-page report. With a simulated dyno for trying it out, and\n\
dynotool, its command-line face for scripts.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The run-time libraries as dpkg-shlibdeps finds them in the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The offscreen drawing of dynotool and the window's image formats; the fixed
# layout of the pages and the print needs the metric-compatible faces (DejaVu is
# wider and runs texts together).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
