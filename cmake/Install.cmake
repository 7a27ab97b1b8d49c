# Installing the game (cmake --install, with DESTDIR and a prefix) the way
# Debian lays out its games. The game reads its packs from the folder of its
# executable, so the program and its packs share one folder,
# lib/games/duskmatch/; the packs themselves lie in share/games/duskmatch/
# (they are the same on every architecture) with links to them in the
# program's folder, and games/duskmatch is a link to the program. Then the
# desktop's share: the menu entry, the AppStream metadata, the icons, the
# manual page and the screenshots the build took.
include(GNUInstallDirs)

# The game's id on the desktop: the studio's web address turned round.
set(DUSK_APP_ID "example.owlreach.Duskmatch")
set(DUSK_INSTALL_GAMESDIR "games" CACHE STRING "The command's folder, under the prefix")
set(DUSK_INSTALL_PROGRAMDIR "lib/games/duskmatch" CACHE STRING
    "The program's own folder (the executable and links to its packs), under the prefix")
set(DUSK_INSTALL_PACKDIR "${CMAKE_INSTALL_DATAROOTDIR}/games/duskmatch" CACHE STRING
    "The packs' folder, under the prefix")
set(DUSK_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/duskmatch" CACHE STRING
    "The documentation's folder (the screenshots), under the prefix")
set(dusk_packs DuskmatchData.pack DuskmatchLanguages.pack DuskmatchCursor.pack)
set(dusk_desktop ${PROJECT_SOURCE_DIR}/data/desktop)
set(dusk_install_work ${CMAKE_BINARY_DIR}/install-files)

# dusk_install_link(LINK TARGET): a relative symbolic link LINK to TARGET,
# both paths under the prefix, so the tree can be moved (DESTDIR, a package).
function(dusk_install_link link target)
  get_filename_component(link_dir "/${link}" DIRECTORY)
  file(RELATIVE_PATH relative "${link_dir}" "/${target}")
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
    get_filename_component(link_dir \"\${link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${link_dir}\")
    message(STATUS \"Installing: \${link} -> ${relative}\")
    file(CREATE_LINK \"${relative}\" \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/${link}\")")
endfunction()

install(TARGETS duskmatch RUNTIME DESTINATION ${DUSK_INSTALL_PROGRAMDIR})
foreach(pack ${dusk_packs})
  install(FILES ${CMAKE_BINARY_DIR}/bin/${pack} DESTINATION ${DUSK_INSTALL_PACKDIR})
  dusk_install_link(${DUSK_INSTALL_PROGRAMDIR}/${pack} ${DUSK_INSTALL_PACKDIR}/${pack})
endforeach()
dusk_install_link(${DUSK_INSTALL_GAMESDIR}/duskmatch ${DUSK_INSTALL_PROGRAMDIR}/duskmatch)

# The menu entry starts the command by its full path and the manual page
# names the program's folder: both are written when installing, for the
# prefix of the install.
install(CODE "
  set(DUSK_APP_ID \"${DUSK_APP_ID}\")
  set(PROJECT_VERSION \"${PROJECT_VERSION}\")
  set(DUSK_COMMAND \"\${CMAKE_INSTALL_PREFIX}/${DUSK_INSTALL_GAMESDIR}/duskmatch\")
  set(DUSK_PROGRAM_DIR \"\${CMAKE_INSTALL_PREFIX}/${DUSK_INSTALL_PROGRAMDIR}\")
  configure_file(\"${dusk_desktop}/duskmatch.desktop.in\"
                 \"${dusk_install_work}/${DUSK_APP_ID}.desktop\" @ONLY)
  configure_file(\"${dusk_desktop}/duskmatch.6.in\" \"${dusk_install_work}/duskmatch.6\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATAROOTDIR}/applications\"
       TYPE FILE FILES \"${dusk_install_work}/${DUSK_APP_ID}.desktop\")
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man6\"
       TYPE FILE FILES \"${dusk_install_work}/duskmatch.6\")")

configure_file(${dusk_desktop}/duskmatch.metainfo.xml.in
               ${dusk_install_work}/${DUSK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${dusk_install_work}/${DUSK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

foreach(size ${DUSK_ICON_SIZES})
  install(FILES ${DUSK_ICON_DIR}/icon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${DUSK_APP_ID}.png)
endforeach()
install(FILES ${DUSK_ICON_DIR}/icon.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
        RENAME ${DUSK_APP_ID}.svg)

list(TRANSFORM DUSK_SCREENSHOTS PREPEND ${DUSK_SCREENSHOT_DIR}/ OUTPUT_VARIABLE dusk_shots)
install(FILES ${dusk_shots} DESTINATION ${DUSK_INSTALL_DOCDIR}/screenshots)
