# Installation and the Debian package (cpack -G DEB). The launcher is the one
# entry point: it gives the station its data folder as working folder, since the
# station keeps "Config.set" and "Log.dat" in the folder it is started from.
include(GNUInstallDirs)

set(VEILLEUR_NOM veilleur)
set(VEILLEUR_ID com.orvane.veilleur)
set(VEILLEUR_VERSION ${PROJECT_VERSION})
set(VEILLEUR_PAQUETAGE ${CMAKE_SOURCE_DIR}/packaging)

set(dossier_station ${CMAKE_INSTALL_LIBEXECDIR}/${VEILLEUR_NOM})
file(RELATIVE_PATH VEILLEUR_BINAIRE_RELATIF /${CMAKE_INSTALL_BINDIR} /${dossier_station}/Veilleur)
foreach(fichier veilleur veilleur.desktop veilleur-autostart.desktop veilleur.service veilleur.metainfo.xml)
  configure_file(${VEILLEUR_PAQUETAGE}/${fichier}.in ${CMAKE_BINARY_DIR}/packaging/${fichier} @ONLY)
endforeach()

install(TARGETS Veilleur RUNTIME DESTINATION ${dossier_station})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/veilleur DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME ${VEILLEUR_NOM})
install(FILES ${CMAKE_BINARY_DIR}/packaging/veilleur.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${VEILLEUR_ID}.desktop)
install(FILES ${CMAKE_BINARY_DIR}/packaging/veilleur.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${VEILLEUR_ID}.metainfo.xml)
foreach(taille 16 22 24 32 48 64 128 256)
  install(FILES ${VEILLEUR_PAQUETAGE}/icons/${taille}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${taille}x${taille}/apps RENAME ${VEILLEUR_ID}.png)
endforeach()
# Start at log-in, both off until the user turns one on (see README).
install(FILES ${CMAKE_BINARY_DIR}/packaging/veilleur.service
        DESTINATION lib/systemd/user RENAME ${VEILLEUR_NOM}.service)
install(FILES ${CMAKE_BINARY_DIR}/packaging/veilleur-autostart.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/${VEILLEUR_NOM}/autostart RENAME ${VEILLEUR_ID}.desktop)

# Staged install, file checks, then the launcher under a private X server.
add_test(NAME installation
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/installation.sh ${CMAKE_BINARY_DIR} ${VEILLEUR_NOM} ${VEILLEUR_ID})
set_tests_properties(installation PROPERTIES TIMEOUT 240)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VEILLEUR_NOM})
set(CPACK_PACKAGE_VERSION ${VEILLEUR_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvane.PC maintainers <maintainers@orvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Supervisor station for the insulation monitors of an IT network")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Its captions are drawn in Liberation Sans, which no library pulls in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
include(CPack)
