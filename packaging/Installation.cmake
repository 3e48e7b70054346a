# Installation and the Debian package (cpack -G DEB). The launcher is the one
# entry point: it gives the station its data folder as working folder, since the
# station keeps "Config.set" and "Log.dat" in the folder it is started from.
include(GNUInstallDirs)

set(VEILLEUR_NOM veilleur)
set(VEILLEUR_ID com.orvane.veilleur)
set(VEILLEUR_VERSION ${PROJECT_VERSION})
set(VEILLEUR_VERSION_DEBIAN ${VEILLEUR_VERSION}-1)
set(VEILLEUR_MAINTENEUR "Orvane.PC maintainers <maintainers@orvane.example>")
set(VEILLEUR_PAQUETAGE ${CMAKE_SOURCE_DIR}/packaging)

# The programs answer --version with it.
target_compile_definitions(Veilleur PRIVATE VEILLEUR_VERSION_TEXTE="${VEILLEUR_VERSION}")
target_compile_definitions(veilleur_journal PRIVATE VEILLEUR_VERSION_TEXTE="${VEILLEUR_VERSION}")

set(dossier_station ${CMAKE_INSTALL_LIBEXECDIR}/${VEILLEUR_NOM})
file(RELATIVE_PATH VEILLEUR_BINAIRE_RELATIF /${CMAKE_INSTALL_BINDIR} /${dossier_station}/Veilleur)
foreach(fichier veilleur.desktop veilleur-autostart.desktop veilleur.service veilleur.metainfo.xml)
  configure_file(${VEILLEUR_PAQUETAGE}/${fichier}.in ${CMAKE_BINARY_DIR}/packaging/${fichier} @ONLY)
endforeach()
# Runnable in the build tree too: its manual page is made from its --help, and tests run it.
configure_file(${VEILLEUR_PAQUETAGE}/veilleur.in ${CMAKE_BINARY_DIR}/packaging/veilleur @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

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

# What Debian asks of a package: the copyright in its machine-readable form, the
# package's changelog, compressed the reproducible way, manual pages and completion.
set(dossier_doc ${CMAKE_BINARY_DIR}/packaging/doc)
configure_file(${VEILLEUR_PAQUETAGE}/copyright.in ${dossier_doc}/copyright @ONLY)
configure_file(${VEILLEUR_PAQUETAGE}/changelog.Debian.in ${dossier_doc}/changelog.Debian @ONLY)
add_custom_command(OUTPUT ${dossier_doc}/changelog.Debian.gz
                   COMMAND gzip -9nf -k ${dossier_doc}/changelog.Debian
                   DEPENDS ${dossier_doc}/changelog.Debian ${VEILLEUR_PAQUETAGE}/changelog.Debian.in)
set(fichiers_paquet ${dossier_doc}/changelog.Debian.gz)
install(FILES ${dossier_doc}/copyright ${dossier_doc}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${VEILLEUR_NOM})
# The network file that turns live devices on, every key at its default.
install(FILES ${VEILLEUR_PAQUETAGE}/Reseau.ini.exemple
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${VEILLEUR_NOM}/examples RENAME Reseau.ini)
install(FILES ${VEILLEUR_PAQUETAGE}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${VEILLEUR_NOM})
install(FILES ${VEILLEUR_PAQUETAGE}/veilleur-journal.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME veilleur-journal)

# Manual pages made from each program's --help and --version (help2man), with the
# sections --help cannot hold kept in packaging/<program>.h2m.
find_program(HELP2MAN help2man REQUIRED)
# page_de_manuel(<name> <command> <depends> <summary>)
function(page_de_manuel nom commande dependance resume)
  set(page ${CMAKE_BINARY_DIR}/man/${nom}.1)
  set(inclusion)
  set(source_inclusion)
  if(EXISTS ${VEILLEUR_PAQUETAGE}/${nom}.h2m)
    set(inclusion --include=${VEILLEUR_PAQUETAGE}/${nom}.h2m)
    set(source_inclusion ${VEILLEUR_PAQUETAGE}/${nom}.h2m)
  endif()
  add_custom_command(OUTPUT ${page}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                     COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=1 --name=${resume}
                             ${inclusion} --output=${page} ${commande}
                     COMMAND gzip -9nf ${page}
                     DEPENDS ${dependance} ${source_inclusion}
                     VERBATIM)
  set(fichiers_paquet ${fichiers_paquet} ${page}.gz PARENT_SCOPE)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
page_de_manuel(veilleur ${CMAKE_BINARY_DIR}/packaging/veilleur ${VEILLEUR_PAQUETAGE}/veilleur.in
               "start the Orvane.PC supervisor station in its data folder")
page_de_manuel(veilleur-journal $<TARGET_FILE:veilleur-journal> veilleur-journal
               "read the Orvane.PC station's event journal for audits")
# Programs that other folders add, when they are there (they may come after this file).
function(pages_de_manuel_autres)
  set(fichiers_paquet)
  if(TARGET veilleur-simulateur)
    page_de_manuel(veilleur-simulateur $<TARGET_FILE:veilleur-simulateur> veilleur-simulateur
                   "simulate the Orvane.PC station's KMT and QFL8 devices on a Modbus line")
  endif()
  add_custom_target(pages_de_manuel_autres ALL DEPENDS ${fichiers_paquet})
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL pages_de_manuel_autres)
add_custom_target(documentation_paquet ALL DEPENDS ${fichiers_paquet})

# Staged install, file checks, then the launcher under a private X server.
add_test(NAME installation
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/installation.sh ${CMAKE_BINARY_DIR} ${VEILLEUR_NOM} ${VEILLEUR_ID})
set_tests_properties(installation PROPERTIES TIMEOUT 240)

# The programs, run from the build tree by the tests of tests/test_Programmes.cpp.
if(TARGET test_Programmes)
  target_compile_definitions(test_Programmes PRIVATE
    VEILLEUR_STATION="$<TARGET_FILE:Veilleur>" VEILLEUR_JOURNAL_PROGRAMME="$<TARGET_FILE:veilleur-journal>"
    VEILLEUR_LANCEUR="${CMAKE_BINARY_DIR}/packaging/veilleur" VEILLEUR_VERSION_TEXTE="${VEILLEUR_VERSION}")
  add_dependencies(test_Programmes Veilleur veilleur-journal)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VEILLEUR_NOM})
set(CPACK_PACKAGE_VERSION ${VEILLEUR_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_CONTACT ${VEILLEUR_MAINTENEUR})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VEILLEUR_MAINTENEUR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "supervisor station for the insulation monitors of an IT network")
# The extended description, under the synopsis above (CPack puts that first and indents the lines).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The Orvane.PC station supervises the insulation monitors (KMT) and fault
location devices (QFL) of an isolated (IT) electrical installation, such as
an operating theatre. One full-screen window shows a button per device,
coloured by its alarm state, sounds an alarm, and opens the screens of each
device, of the event journal and of the configuration, in French, English
or Spanish.
.
The launcher, veilleur, runs the station in a data folder of its own, where
it keeps its configuration and its append-only event journal. The tool
veilleur-journal exports, follows, checks and summarises that journal for
audits and other systems.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Its captions are drawn in Liberation Sans, which no library pulls in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
include(CPack)
