# `make install` (cmake --install): the program with its resources beside it, where it looks for
# them, a command on the PATH, and a desktop entry with an icon so the caller shows in the menu.
include(GNUInstallDirs)

set(vorlix_program_dir ${CMAKE_INSTALL_LIBEXECDIR}/vorlix-caller)
install(TARGETS vorlix-caller RUNTIME DESTINATION ${vorlix_program_dir})
if(TARGET vorlix-sound)
  install(TARGETS vorlix-sound LIBRARY DESTINATION ${vorlix_program_dir})
endif()
file(GLOB vorlix_resources LIST_DIRECTORIES false ${CMAKE_SOURCE_DIR}/resources/*)
install(FILES ${vorlix_resources} DESTINATION ${vorlix_program_dir})

# The command is a link to the program: the program finds its resources next to its real path.
file(RELATIVE_PATH vorlix_link_target /${CMAKE_INSTALL_BINDIR} /${vorlix_program_dir}/vorlix-caller)
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(CREATE_LINK \"${vorlix_link_target}\" \"\${bin}/vorlix-caller\" SYMBOLIC)
  message(STATUS \"Installing: \${bin}/vorlix-caller -> ${vorlix_link_target}\")
")

install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/vorlix-caller.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/vorlix-caller.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
