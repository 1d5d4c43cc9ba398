# Installation and the Debian package.
#
# Linux (FHS):  bin/tira, lib/<arch>/tira/tira-qt.so (Qt, the window and the rest of the
#               command line), share/tira/help/index.html, share/applications/tira.desktop,
#               share/icons/hicolor/scalable/apps/tira.svg, share/doc/tira/examples/home
# Windows:      everything in one folder, help/ beside tira.exe (portable use)
include(GNUInstallDirs)

if(WIN32)
    set(TIRA_INSTALL_BINDIR .)
    set(TIRA_INSTALL_DATADIR .)
    set(TIRA_INSTALL_EXAMPLESDIR examples)
else()
    set(TIRA_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
    set(TIRA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/tira)
    set(TIRA_INSTALL_EXAMPLESDIR ${CMAKE_INSTALL_DOCDIR}/examples)
endif()

install(TARGETS tira RUNTIME DESTINATION ${TIRA_INSTALL_BINDIR})
if(TIRA_QT_MODULE)
    install(TARGETS tira_qt LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tira)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${TIRA_INSTALL_DATADIR}/help)

# Windows: the Qt libraries, plugins and translations beside tira.exe (windeployqt, through
# Qt's CMake deployment support), so that the installed folder runs on a machine without Qt;
# qt.conf tells Qt they are there, the translations of its dialogs among them.
if(WIN32)
    if(COMMAND qt_generate_deploy_script) # Qt 6.5 and later
        qt_generate_deploy_script(TARGET tira OUTPUT_SCRIPT TIRA_QT_DEPLOY_SCRIPT CONTENT "
qt_deploy_runtime_dependencies(EXECUTABLE \"$<TARGET_FILE_NAME:tira>\"
    BIN_DIR . LIB_DIR . PLUGINS_DIR . GENERATE_QT_CONF)")
        install(SCRIPT ${TIRA_QT_DEPLOY_SCRIPT})
    else()
        message(STATUS "cmake --install leaves the Qt runtime out: deploying it needs Qt 6.5")
    endif()
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/home DESTINATION ${TIRA_INSTALL_EXAMPLESDIR})

if(NOT WIN32)
    set(TIRA_DESKTOP_EXEC ${CMAKE_INSTALL_FULL_BINDIR}/tira)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/tira.desktop.in
        ${PROJECT_BINARY_DIR}/packaging/tira.desktop @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/packaging/tira.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/tira.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME tira)
set(CPACK_PACKAGE_VENDOR "TIRA")
set(CPACK_PACKAGE_CONTACT "TIRA maintainers <tira@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small daily reminder with a Japanese interface")
set(CPACK_PACKAGE_DESCRIPTION
    "TIRA builds a one-day report from plain-text table files - birthdays, schedules,\n\
rule-based events, on-this-day history, periods of the year and holidays - shows it\n\
in a small window and closes itself after a while. `tira --print` writes the same\n\
report to standard output and `tira --check` lists the table lines it cannot use.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tira)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps. Japanese glyphs, the desktop's
# opener (default editor, help page) and the extra platform plugins are recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk | fonts-ipafont-gothic, qt6-translations-l10n, xdg-utils, qt6-qpa-plugins")
include(CPack)
