# Installs the game as a desktop application (the "game" component):
#   lib/games/quorla/  the installation directory: QUORLA32, its copy of the
#                      neural library, the default networks and backdrop, the
#                      help and the compiled translations (locale/)
#   games/quorla       the launcher, where Debian puts the commands of games
#   share/             the desktop entry, the icon and the AppStream metadata
# The program finds its data next to itself, so the tree can be moved. An
# installed tree is shared by its users: the marker file tells the program
# to keep each user's files in the user's data directory, even for a user
# (root) who could write into the installation.
# Not lib/quorla: the packager runs ldconfig for any library in lib/ or a
# folder just below it, and the game's private copy needs no linker cache.
set(quorla_install_dir lib/games/quorla)
set(quorla_app_id org.quorla.Quorla)
set(quorla_packaging_dir ${CMAKE_CURRENT_LIST_DIR})

set_target_properties(QUORLA32 PROPERTIES INSTALL_RPATH "$ORIGIN")
# The game's binaries are installed stripped, as the package holds them (the
# build directory keeps the debugging information); the developers' copy of
# the library is left as the build made it unless --strip is given.
install(CODE "set(quorla_strip_asked \"\${CMAKE_INSTALL_DO_STRIP}\")
  set(CMAKE_INSTALL_DO_STRIP ON)" COMPONENT game)
install(TARGETS QUORLA32 RUNTIME DESTINATION ${quorla_install_dir} COMPONENT game)
install(TARGETS neural LIBRARY DESTINATION ${quorla_install_dir} NAMELINK_SKIP COMPONENT game)
install(CODE "set(CMAKE_INSTALL_DO_STRIP \"\${quorla_strip_asked}\")" COMPONENT game)
# Stripping leaves the compiler's version notes (.comment), which Debian's
# own stripping removes too.
if(CMAKE_OBJCOPY)
  install(CODE "
    foreach(binary QUORLA32 $<TARGET_FILE_NAME:neural>)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${quorla_install_dir}/\${binary}\" RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR \"objcopy could not remove the .comment section of \${binary}\")
      endif()
    endforeach()" COMPONENT game)
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/data/QLDEFLT.QLF)
  install(FILES ${CMAKE_BINARY_DIR}/QLDEFLT.QLF DESTINATION ${quorla_install_dir} COMPONENT game)
endif()
if(TARGET default_backdrop)
  install(FILES ${CMAKE_BINARY_DIR}/BACKIMG.QLF DESTINATION ${quorla_install_dir} COMPONENT game)
endif()
# The help is built into the build directory as a file or a folder; it is
# looked for when installing, so an installation without it still works.
install(CODE "
  set(help \"${CMAKE_BINARY_DIR}/QUORLA32.HLP\")
  if(IS_DIRECTORY \"\${help}\")
    file(INSTALL \"\${help}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${quorla_install_dir}\" TYPE DIRECTORY)
  elseif(EXISTS \"\${help}\")
    file(INSTALL \"\${help}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${quorla_install_dir}\" TYPE FILE)
  endif()" COMPONENT game)

file(WRITE ${CMAKE_BINARY_DIR}/packaging/SHARED-INSTALLATION
  "Each user's Quorla files live in $XDG_DATA_HOME/quorla (by default ~/.local/share/quorla).\n")
# The texts in other languages, compiled where msgfmt was found; without
# them the program speaks English.
install(CODE "
  set(catalogues \"${CMAKE_BINARY_DIR}/locale\")
  if(IS_DIRECTORY \"\${catalogues}\")
    file(INSTALL \"\${catalogues}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${quorla_install_dir}\" TYPE DIRECTORY)
  endif()" COMPONENT game)

install(FILES ${CMAKE_BINARY_DIR}/packaging/SHARED-INSTALLATION DESTINATION ${quorla_install_dir} COMPONENT game)

install(PROGRAMS ${quorla_packaging_dir}/quorla DESTINATION games COMPONENT game)
# The desktop entry starts the launcher by its full path, known only when
# installing: a prefix such as /opt/quorla puts games/ on nobody's PATH.
install(CODE "
  set(quorla_launcher \"\${CMAKE_INSTALL_PREFIX}/games/quorla\")
  configure_file(\"${quorla_packaging_dir}/${quorla_app_id}.desktop.in\"
    \"${CMAKE_BINARY_DIR}/packaging/${quorla_app_id}.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/packaging/${quorla_app_id}.desktop\"
    DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")" COMPONENT game)
install(FILES ${quorla_packaging_dir}/${quorla_app_id}.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT game)
install(FILES ${quorla_packaging_dir}/${quorla_app_id}.metainfo.xml DESTINATION share/metainfo COMPONENT game)
install(FILES ${quorla_packaging_dir}/debian/copyright DESTINATION share/doc/quorla COMPONENT game)
install(FILES ${quorla_packaging_dir}/debian/lintian-overrides DESTINATION share/lintian/overrides
  RENAME quorla COMPONENT game)
include(${quorla_packaging_dir}/compressed.cmake)
quorla_gzip(${quorla_packaging_dir}/debian/changelog quorla_changelog)
add_custom_target(quorla_changelog ALL DEPENDS ${quorla_changelog})
install(FILES ${quorla_changelog} DESTINATION share/doc/quorla COMPONENT game)
