# Installing the program as a desktop program, and its Debian package.
#
#   cmake --install <build> --prefix /usr        executable, desktop file, icon, metainfo,
#                                                 manual page, copyright and changelog
#   cd <build> && cpack -G DEB                    qvbzevi_<version>-<revision>_<arch>.deb
#
# The executable's own install rule lives beside its target (src/app), the desktop
# file and the icon beside the pictures (src/resources). An installed program's
# folder is not writable, so it keeps its data in the per-user data folder.
# `lintian` finds no error and no warning in the package.

include(GNUInstallDirs)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/com.qvbzevi.QVBzevi.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# The manual page and the Debian changelog are installed compressed as Debian
# wants them: gzip -9 without the name and time stamp, so a rebuild gives the same
# bytes. They are compressed when CMake configures (again whenever the sources
# change), so `cmake --install` needs nothing built but the program.
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH QVB_SOURCE_ROOT)
set(QVB_PACKAGING_DIR ${QVB_SOURCE_ROOT}/packaging)
find_program(QVB_GZIP gzip REQUIRED)
function(qvb_gzip source target)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    execute_process(COMMAND ${QVB_GZIP} -9n -c INPUT_FILE ${source} OUTPUT_FILE ${target}
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip ${source} failed: ${result}")
    endif()
endfunction()
qvb_gzip(${QVB_SOURCE_ROOT}/docs/qvbzevi.1 ${CMAKE_CURRENT_BINARY_DIR}/qvbzevi.1.gz)
qvb_gzip(${QVB_PACKAGING_DIR}/changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qvbzevi.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The copyright file names the licence (GPL-3.0-or-later, the text in LICENSE) and
# points to Debian's copy of it, so LICENSE itself is not installed.
install(FILES ${QVB_PACKAGING_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The package is built here, not uploaded to Debian, so its first changelog entry
# closes no ITP (intent to package) bug; lintian prints the comment with the override.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/lintian-overrides
     "# Built outside the Debian archive: there is no ITP bug to close.\n"
     "qvbzevi: initial-upload-closes-no-bugs\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME qvbzevi)

# The package's version is the program's version and the Debian revision of the
# newest changelog entry ("qvbzevi (2.3-1) ..."), as dpkg-buildpackage would take it.
file(STRINGS ${QVB_PACKAGING_DIR}/changelog QVB_CHANGELOG_HEAD LIMIT_COUNT 1)
if(NOT QVB_CHANGELOG_HEAD MATCHES "^qvbzevi \\(([^)-]+)-([^)]+)\\)")
    message(FATAL_ERROR "packaging/changelog: the first line names no version: ${QVB_CHANGELOG_HEAD}")
endif()
set(QVB_DEBIAN_REVISION ${CMAKE_MATCH_2})
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(WARNING "packaging/changelog starts with version ${CMAKE_MATCH_1}, the program is ${PROJECT_VERSION}: "
                    "add an entry for ${PROJECT_VERSION}-1 (the test tst_install fails until then)")
endif()

set(CPACK_PACKAGE_NAME qvbzevi)
set(CPACK_PACKAGE_VENDOR "QVBzevi")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Publishing assistant: site book, article library and tabbed browser")
# One string: a list would show as "a;b" in the package's description. Each "\n"
# starts a line of the Debian description (at most 80 characters), an empty line
# a new paragraph.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "QVBzevi helps people who post the same advertisements, announcements and\n"
    "articles by hand to many web forums, blogs and classified-ad sites.\n"
    "\n"
    "One window holds a site book (each site's address, user name and password),\n"
    "an article library (15 short clauses and 3 paragraphs per article) and a\n"
    "tabbed web browser that keeps its logins between runs. Hotkeys paste the\n"
    "site's credentials and the article's texts into any field of the open web\n"
    "page; afterwards the clipboard holds again what was copied before.\n"
    "\n"
    "The data files have the format of the Windows version, so its data folder\n"
    "opens unchanged.")
set(CPACK_PACKAGE_CONTACT "QVBzevi maintainers <maintainers@qvbzevi.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QVB_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.qvbzevi.com/")
# What the executable needs without linking it: the SQLite driver of the posting
# history, the public suffix list that tells which addresses are one site, and the CJK
# fonts the window and the article texts need.
set(qvb_runtime_depends "libqt6sql6-sqlite (>= 6.4), publicsuffix, fonts-noto-cjk")
find_program(QVB_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QVB_DPKG_SHLIBDEPS)
    # dpkg-shlibdeps names every library the executable links, each once with the
    # version it needs: Qt's (the X11 platform and JPEG plugins come with libqt6gui6,
    # the SVG plugin with libqt6svg6, the browser's helper process with
    # libqt6webenginecore6-bin), libpsl and the C and C++ runtimes. CPack puts them
    # before the list here, which therefore names none of them again.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${qvb_runtime_depends}")
else()
    string(CONCAT CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6svg6 (>= 6.4), "
        "libqt6sql6 (>= 6.4), libqt6webenginecore6 (>= 6.4), libqt6webenginewidgets6 (>= 6.4), "
        "libqt6webenginecore6-bin (>= 6.4), libpsl5, ${qvb_runtime_depends}")
endif()

include(CPack)

# A test installs into a temporary DESTDIR and checks that every file is in place.
if(TARGET qvbzevi)
    add_test(NAME tst_install
             COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                     -DSTAGE_DIR=${CMAKE_BINARY_DIR}/install-check
                     -DPACKAGE_VERSION=${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}
                     -DGZIP=${QVB_GZIP}
                     -P ${CMAKE_CURRENT_LIST_DIR}/InstallCheck.cmake)
    set_tests_properties(tst_install PROPERTIES TIMEOUT 120)
endif()
