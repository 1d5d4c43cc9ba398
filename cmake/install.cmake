# Installation and the Debian package.
#
# Linux (FHS):  bin/tira, lib/<arch>/tira/tira-qt.so (the window, the only part that needs
#               Qt), share/tira/help/index.html, share/applications/tira.desktop,
#               share/metainfo, share/icons/hicolor/*/apps/tira.{png,svg},
#               share/man/man1/tira.1.gz, share/bash-completion/completions/tira,
#               share/zsh/*/_tira, share/doc/tira/{copyright,changelog.gz,examples/home}
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
# A stripped program also loses the compiler's version notes (.comment), as in Debian's
# own packages.
if(CMAKE_OBJCOPY AND NOT WIN32)
    set(TIRA_STRIPPED ${CMAKE_INSTALL_BINDIR}/tira)
    if(TIRA_QT_MODULE)
        list(APPEND TIRA_STRIPPED ${CMAKE_INSTALL_LIBDIR}/tira/tira-qt.so)
    endif()
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            foreach(file ${TIRA_STRIPPED})
                execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${file}\" COMMAND_ERROR_IS_FATAL ANY)
            endforeach()
        endif()")
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
    set(TIRA_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)

    # The menu entry is written at install time: see cmake/desktop_entry.cmake.
    install(CODE "
        set(TIRA_DESKTOP_IN \"${PROJECT_SOURCE_DIR}/packaging/tira.desktop.in\")
        set(TIRA_DESKTOP_OUT \"${TIRA_PACKAGING_OUT}/install/tira.desktop\")
        set(TIRA_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
        include(\"${PROJECT_SOURCE_DIR}/cmake/desktop_entry.cmake\")")
    install(FILES ${TIRA_PACKAGING_OUT}/install/tira.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/io.github.tira.tira.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # Icons at the sizes desktops look for, drawn from the one SVG.
    find_program(TIRA_RSVG_CONVERT rsvg-convert)
    if(NOT TIRA_RSVG_CONVERT)
        message(FATAL_ERROR "rsvg-convert (Debian package librsvg2-bin) draws the icons; "
            "scripts/install-deps.sh installs it")
    endif()
    set(icons)
    foreach(size 16 32 48 64 128 256)
        set(icon ${TIRA_PACKAGING_OUT}/icons/${size}x${size}/apps/tira.png)
        add_custom_command(OUTPUT ${icon}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${TIRA_PACKAGING_OUT}/icons/${size}x${size}/apps
            COMMAND ${TIRA_RSVG_CONVERT} --width ${size} --height ${size} --keep-aspect-ratio
                --output ${icon} ${PROJECT_SOURCE_DIR}/packaging/tira.svg
            DEPENDS ${PROJECT_SOURCE_DIR}/packaging/tira.svg VERBATIM)
        list(APPEND icons ${icon})
    endforeach()
    install(DIRECTORY ${TIRA_PACKAGING_OUT}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/tira.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

    # The changelog, compressed as Debian wants it (gzip -9n: the same bytes on every build),
    # and the manual page, written at install time: see cmake/manual_page.cmake.
    configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${TIRA_PACKAGING_OUT}/changelog
        COPYONLY)
    file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog TIRA_CHANGELOG_TOP LIMIT_COUNT 1)
    if(NOT TIRA_CHANGELOG_TOP MATCHES "^tira \\(${PROJECT_VERSION}\\) ")
        message(FATAL_ERROR "packaging/changelog does not begin with version ${PROJECT_VERSION}")
    endif()
    find_program(TIRA_GZIP gzip REQUIRED)
    add_custom_command(OUTPUT ${TIRA_PACKAGING_OUT}/changelog.gz
        COMMAND ${TIRA_GZIP} -9nkf ${TIRA_PACKAGING_OUT}/changelog
        DEPENDS ${TIRA_PACKAGING_OUT}/changelog VERBATIM)
    add_custom_target(tira_packaging ALL DEPENDS ${icons} ${TIRA_PACKAGING_OUT}/changelog.gz)
    install(CODE "
        set(TIRA_MAN_IN \"${PROJECT_SOURCE_DIR}/packaging/tira.1.in\")
        set(TIRA_MAN_OUT \"${TIRA_PACKAGING_OUT}/install/tira.1.gz\")
        set(TIRA_EXAMPLESDIR \"${TIRA_INSTALL_EXAMPLESDIR}\")
        set(TIRA_DATADIR \"${TIRA_INSTALL_DATADIR}\")
        set(PROJECT_VERSION \"${PROJECT_VERSION}\")
        set(TIRA_GZIP \"${TIRA_GZIP}\")
        include(\"${PROJECT_SOURCE_DIR}/cmake/manual_page.cmake\")")
    install(FILES ${TIRA_PACKAGING_OUT}/install/tira.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${TIRA_PACKAGING_OUT}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr") # the Debian package
        install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tira)
    endif()

    # Shell completion where bash-completion and zsh look for it (Debian's zsh reads
    # vendor-completions under /usr, site-functions elsewhere).
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/completion/tira.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tira)
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        set(TIRA_ZSH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
    else()
        set(TIRA_ZSH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/zsh/site-functions)
    endif()
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/completion/_tira
        DESTINATION ${TIRA_ZSH_COMPLETION_DIR})
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME tira)
set(CPACK_PACKAGE_VENDOR "TIRA")
set(CPACK_PACKAGE_CONTACT "TIRA developers <tira@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small daily reminder with a Japanese interface")
# Lines of at most 72 characters, as apt shows them; an empty line starts a paragraph.
# No double quotes: CPack writes the text into its configuration without escaping them.
set(CPACK_PACKAGE_DESCRIPTION [=[
TIRA builds a report for one day from plain-text table files that you
keep with any text editor: birthdays, schedules, rule-based events (the
second Tuesday of every month, the 25th or the working day before it),
on-this-day history, periods of the year and holidays. It shows the
report in a small window with a Japanese interface, which counts down
and closes itself; stop entries hold it open and ring a sound.

From a terminal, tira --print writes the same report as text or JSON,
and tira --check lists the table lines the report cannot use.]=])
set(CPACK_PACKAGE_INSTALL_DIRECTORY tira)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps. Recommended: Japanese glyphs,
# the Japanese texts of Qt's own buttons, the desktop's opener (default editor, help page)
# and the platform plugin for Wayland sessions (without it the window goes through XWayland).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk | fonts-ipafont-gothic, qt6-translations-l10n, qt6-wayland, xdg-utils")
include(CPack)
