# Installing the program and packing it: a Debian package that puts the program folder under /opt with a
# launcher that gives every user a private, writable copy of it, and on Windows a portable zip.

set(_vantrel_default_list "${PROJECT_SOURCE_DIR}/resources/Search Engines.bak")

if(WIN32)
    # A portable folder: the program, its Qt libraries and its lists, ready to run from wherever it is unpacked.
    install(TARGETS ievantrel RUNTIME DESTINATION .)
    install(FILES "${_vantrel_default_list}" DESTINATION .)
    install(FILES "${_vantrel_default_list}" DESTINATION . RENAME "Search Engines.ini")

    # A program linked against a shared Qt takes the Qt libraries and plugins along; a static one holds them.
    if(QT6_IS_SHARED_LIBS_BUILD)
        find_program(VANTREL_WINDEPLOYQT NAMES windeployqt windeployqt6
                     HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" REQUIRED)
        install(CODE "set(windeployqt \"${VANTREL_WINDEPLOYQT}\")")
        install(CODE [[
            execute_process(COMMAND "${windeployqt}" --no-translations
                                    "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/ievantrel.exe"
                            COMMAND_ERROR_IS_FATAL ANY)
        ]])
    endif()

    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME "ievantrel-${PROJECT_VERSION}-windows")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
    set(VANTREL_INSTALL_FOLDER "/opt/ievantrel" CACHE PATH "The program folder the Debian package installs")
    # The package lays out whole system paths, so plain installs default to the root as well.
    if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
        set(CMAKE_INSTALL_PREFIX "/" CACHE PATH "Install path prefix" FORCE)
    endif()
    string(REGEX REPLACE "^/+" "" _vantrel_program_folder "${VANTREL_INSTALL_FOLDER}")

    install(TARGETS ievantrel RUNTIME DESTINATION "${_vantrel_program_folder}")
    install(FILES "${_vantrel_default_list}" DESTINATION "${_vantrel_program_folder}")

    configure_file("${PROJECT_SOURCE_DIR}/packaging/ievantrel-launcher.sh" "${PROJECT_BINARY_DIR}/packaging/ievantrel"
                   @ONLY)
    install(PROGRAMS "${PROJECT_BINARY_DIR}/packaging/ievantrel" DESTINATION usr/bin)
    install(FILES "${PROJECT_SOURCE_DIR}/packaging/ievantrel.desktop" DESTINATION usr/share/applications)
    install(FILES "${PROJECT_SOURCE_DIR}/resources/pictures/icon-main.png"
            DESTINATION usr/share/icons/hicolor/32x32/apps RENAME ievantrel.png)

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX "/")
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Links open in the browser through xdg-open. The program carries the Tahoma its windows are laid out for.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()

set(CPACK_PACKAGE_NAME ievantrel)
set(CPACK_PACKAGE_VENDOR "Dorvane Solutions")
set(CPACK_PACKAGE_CONTACT "Dorvane Solutions <support@${VANTREL_MAKER_HOST}>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Manage the address-bar search shortcuts of Internet Explorer")
set(CPACK_PACKAGE_DESCRIPTION
    "IE Vantrel keeps a list of search engines, each a prefix and a search address, and installs the ticked ones "
    "as Internet Explorer's address-bar search shortcuts. Where there is no Windows registry it keeps them in a "
    "registry-editor file that regedit imports.")
set(CPACK_STRIP_FILES ON)
include(CPack)
