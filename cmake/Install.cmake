# Installation as a desktop program (cmake --install) and the Debian package built from
# it (cpack -G DEB in the build folder):
#
#   bin/lumbrel, bin/lumbrel-render, bin/lumbrel-score, bin/lumbrel-decode
#   share/lumbrel/Word Files, QSO Files, Text Files     (installed by text/CMakeLists.txt)
#   share/applications/<app id>.desktop
#   share/metainfo/<app id>.metainfo.xml
#   share/icons/hicolor/scalable/apps/<app id>.svg
#   share/icons/hicolor/<n>x<n>/apps/<app id>.png       (drawn from the SVG by the build)
#   share/man/man1/lumbrel.1.gz, lumbrel-render.1.gz, lumbrel-score.1.gz, lumbrel-decode.1.gz
#   share/doc/lumbrel/copyright, changelog.gz
#
# The programs look for their data in ../share/lumbrel beside their own folder
# (text/DataFolders.cpp), so bin/ and share/lumbrel/ stay fixed whatever
# CMAKE_INSTALL_BINDIR says.
include(GNUInstallDirs)

set(LUMBREL_APP_ID "io.github.lumbrel.Lumbrel")
# The day the version in project() was released; shown by the metainfo and the manual
# pages. Change it together with the version.
set(LUMBREL_RELEASE_DATE "2026-12-09")
set(LUMBREL_HOMEPAGE "https://github.com/lumbrel/lumbrel" CACHE STRING
    "Home page of the project, named in the AppStream metainfo and the Debian package")
set(LUMBREL_BUGTRACKER "${LUMBREL_HOMEPAGE}/issues" CACHE STRING
    "Where bugs are reported, named in the AppStream metainfo")
set(LUMBREL_SCREENSHOTS_URL "https://raw.githubusercontent.com/lumbrel/lumbrel/main/docs/screenshots"
    CACHE STRING "Web folder holding the pictures of docs/screenshots, for the AppStream metainfo")

set(_lumbrel_packaging "${PROJECT_SOURCE_DIR}/packaging")
set(_lumbrel_generated "${PROJECT_BINARY_DIR}/packaging")

# The programs.
install(TARGETS lumbrel lumbrel-render lumbrel-score lumbrel-decode RUNTIME DESTINATION bin)

# Desktop entry and AppStream metainfo.
install(FILES "${_lumbrel_packaging}/${LUMBREL_APP_ID}.desktop"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file("${_lumbrel_packaging}/${LUMBREL_APP_ID}.metainfo.xml.in"
    "${_lumbrel_generated}/${LUMBREL_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${_lumbrel_generated}/${LUMBREL_APP_ID}.metainfo.xml"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog, compressed as Debian wants them: gzip -n keeps the
# time and name out, so the same text gives the same bytes.
find_program(LUMBREL_GZIP gzip REQUIRED)
set(_lumbrel_gzipped)
function(_lumbrel_gzip source target)
    add_custom_command(OUTPUT "${target}"
        COMMAND "${LUMBREL_GZIP}" -9 -n -c "${source}" > "${target}"
        DEPENDS "${source}"
        VERBATIM)
    set(_lumbrel_gzipped ${_lumbrel_gzipped} "${target}" PARENT_SCOPE)
endfunction()
foreach(_page lumbrel lumbrel-render lumbrel-score lumbrel-decode)
    configure_file("${_lumbrel_packaging}/man/${_page}.1.in" "${_lumbrel_generated}/man/${_page}.1" @ONLY)
    _lumbrel_gzip("${_lumbrel_generated}/man/${_page}.1" "${_lumbrel_generated}/man/${_page}.1.gz")
    install(FILES "${_lumbrel_generated}/man/${_page}.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The licence and the history, where Debian looks for them (share/doc/lumbrel): the
# copyright file in the machine-readable format, naming the word lists' own licence.
# The changelog's first entry is the version of project().
file(STRINGS "${_lumbrel_packaging}/changelog" _lumbrel_changelog_top LIMIT_COUNT 1)
if(NOT _lumbrel_changelog_top MATCHES "^lumbrel \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog begins with '${_lumbrel_changelog_top}': "
                        "add an entry for version ${PROJECT_VERSION}")
endif()
_lumbrel_gzip("${_lumbrel_packaging}/changelog" "${_lumbrel_generated}/changelog.gz")
configure_file("${_lumbrel_packaging}/copyright.in" "${_lumbrel_generated}/copyright" @ONLY)
add_custom_target(lumbrel-compressed-docs ALL DEPENDS ${_lumbrel_gzipped})
install(FILES "${_lumbrel_generated}/changelog.gz" "${_lumbrel_generated}/copyright"
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The icon: the program's own window icon, as SVG and as PNG in the usual sizes.
set(LUMBREL_ICON_SVG "${PROJECT_SOURCE_DIR}/ui/icons/lumbrel.svg")
set(LUMBREL_ICON_SIZES 48 64 128 256)
install(FILES "${LUMBREL_ICON_SVG}"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME "${LUMBREL_APP_ID}.svg")

find_package(Qt6 6.2 REQUIRED COMPONENTS Gui Svg)
add_executable(lumbrel-icon-png "${_lumbrel_packaging}/IconPng.cpp")
target_link_libraries(lumbrel-icon-png PRIVATE Qt6::Gui Qt6::Svg)
lumbrel_warnings(lumbrel-icon-png)

set(_lumbrel_pngs)
foreach(_size ${LUMBREL_ICON_SIZES})
    list(APPEND _lumbrel_pngs "${_lumbrel_generated}/hicolor/${_size}x${_size}/apps/${LUMBREL_APP_ID}.png")
endforeach()
string(REPLACE ";" ", " _lumbrel_size_list "${LUMBREL_ICON_SIZES}")
add_custom_command(OUTPUT ${_lumbrel_pngs}
    COMMAND lumbrel-icon-png "${LUMBREL_ICON_SVG}" "${_lumbrel_generated}/hicolor" "${LUMBREL_APP_ID}"
            ${LUMBREL_ICON_SIZES}
    DEPENDS lumbrel-icon-png "${LUMBREL_ICON_SVG}"
    COMMENT "Drawing the program icon as PNG (${_lumbrel_size_list} pixels)"
    VERBATIM)
add_custom_target(lumbrel-icons ALL DEPENDS ${_lumbrel_pngs})
foreach(_size ${LUMBREL_ICON_SIZES})
    install(FILES "${_lumbrel_generated}/hicolor/${_size}x${_size}/apps/${LUMBREL_APP_ID}.png"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()

# The Debian package.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "lumbrel")
set(CPACK_PACKAGE_VENDOR "Lumbrel developers")
set(CPACK_PACKAGE_CONTACT "Lumbrel developers <lumbrel@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "${LUMBREL_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Morse code (CW) trainer using the Koch method")
# The long description; the summary above is its first line in the package.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Lumbrel teaches Morse code by ear with the Koch method: the learner
starts at the full target character speed with only two characters and
adds one each time a five-minute session is copied with 90 % accuracy.
.
It generates the practice audio itself, in real time - random groups,
common words, sample QSOs or any text file - with band noise, fading,
chirp, straight-key timing, effective (Farnsworth-style) speed and
interfering stations, and shows the sent text after a chosen delay. It
can key a rig through the DTR and RTS lines of a serial port while a
session runs.
.
The lumbrel-render command renders Morse code and whole lessons to WAV
or MP3 files, lumbrel-score scores a copy of such a lesson, and
lumbrel-decode reads the text and the fist of a sending from a key
timeline or a WAV file. MP3 recording needs the LAME library
(libmp3lame0).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "hamradio")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Every library target the programs link, through the static libraries between.
function(_lumbrel_linked_targets out)
    set(seen)
    set(queue ${ARGN})
    while(queue)
        list(POP_FRONT queue item)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
        string(REGEX REPLACE "^Qt::" "Qt6::" item "${item}")
        if("${item}" IN_LIST seen)
            continue()
        endif()
        # Imported targets of other folders (Qt6::Widgets, PkgConfig::PORTAUDIO) are
        # not targets here: their names are kept, their own links are not followed.
        list(APPEND seen "${item}")
        if(NOT TARGET "${item}")
            continue()
        endif()
        get_target_property(type "${item}" TYPE)
        foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
            if(property STREQUAL "LINK_LIBRARIES" AND type STREQUAL "INTERFACE_LIBRARY")
                continue()
            endif()
            get_target_property(links "${item}" ${property})
            if(links)
                list(APPEND queue ${links})
            endif()
        endforeach()
    endwhile()
    set(${out} "${seen}" PARENT_SCOPE)
endfunction()
_lumbrel_linked_targets(_lumbrel_links lumbrel lumbrel-render lumbrel-score lumbrel-decode)

# Qt loads these at run time, so no linker dependency names them: the SQLite driver of
# Qt SQL when the history database is linked, and the SVG image and icon plugins (the
# icons) when nothing links Qt SVG itself. The X11 platform plugin comes with
# libqt6gui6; the Wayland one is recommended below.
set(_lumbrel_plugin_packages)
if(NOT "Qt6::Svg" IN_LIST _lumbrel_links AND NOT "Qt6::SvgWidgets" IN_LIST _lumbrel_links)
    list(APPEND _lumbrel_plugin_packages "libqt6svg6")
endif()
if("Qt6::Sql" IN_LIST _lumbrel_links)
    list(APPEND _lumbrel_plugin_packages "libqt6sql6-sqlite")
endif()
find_program(LUMBREL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(LUMBREL_DPKG_SHLIBDEPS)
    # The libraries the programs link, with their versions, from the system's own lists.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${_lumbrel_plugin_packages}")
else()
    # The same by hand, from the targets linked.
    set(_lumbrel_depends "libc6, libgcc-s1, libstdc++6, libqt6core6")
    foreach(_pair "Qt6::Gui=libqt6gui6" "Qt6::Widgets=libqt6gui6" "Qt6::Widgets=libqt6widgets6"
                  "Qt6::Network=libqt6network6" "Qt6::SerialPort=libqt6serialport6" "Qt6::Sql=libqt6sql6"
                  "Qt6::Charts=libqt6charts6" "Qt6::Svg=libqt6svg6" "PkgConfig::PORTAUDIO=libportaudio2" "PkgConfig::ALSA=libasound2"
                  "PkgConfig::ESPEAK_NG=libespeak-ng1" "PkgConfig::SOXR=libsoxr0" "PkgConfig::TAGLIB=libtag1v5")
        string(REGEX REPLACE "=.*" "" _target "${_pair}")
        string(REGEX REPLACE ".*=" "" _package "${_pair}")
        if("${_target}" IN_LIST _lumbrel_links AND NOT _lumbrel_depends MATCHES "(^|, )${_package}(,|$)")
            string(APPEND _lumbrel_depends ", ${_package}")
        endif()
    endforeach()
    foreach(_package IN LISTS _lumbrel_plugin_packages)
        if(NOT _lumbrel_depends MATCHES "(^|, )${_package}(,|$)")
            string(APPEND _lumbrel_depends ", ${_package}")
        endif()
    endforeach()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${_lumbrel_depends}")
endif()
# MP3 recording loads libmp3lame.so.0 when it is there; WAV works without it. On a
# Wayland desktop Qt's Wayland plugin draws the windows natively (X11 through
# Xwayland otherwise). The callsign practice reads the calls heard in contests
# (MASTER.SCP) when installed. Qt's standard buttons and dialogs speak the desktop's
# language with Qt's own translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libmp3lame0, qt6-wayland, hamradio-files, qt6-translations-l10n")
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/")
# The time of the changelog's last entry dates the files of the package.
set(LUMBREL_SOURCE_DATE_EPOCH "")
find_program(LUMBREL_DPKG_PARSECHANGELOG dpkg-parsechangelog)
if(LUMBREL_DPKG_PARSECHANGELOG)
    execute_process(COMMAND ${LUMBREL_DPKG_PARSECHANGELOG} -l "${_lumbrel_packaging}/changelog" -S Timestamp
        OUTPUT_VARIABLE LUMBREL_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
configure_file("${_lumbrel_packaging}/CPackOptions.cmake.in" "${_lumbrel_generated}/CPackOptions.cmake" @ONLY)
set(CPACK_PROJECT_CONFIG_FILE "${_lumbrel_generated}/CPackOptions.cmake")
include(CPack)
