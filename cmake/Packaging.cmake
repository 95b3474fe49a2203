# Installing the program as a desktop program, and its Debian package.
#
#   cmake --install <build> --prefix /usr        executable, desktop file, icon, metainfo
#   cd <build> && cpack -G DEB                    qvbzevi_<version>_<arch>.deb
#
# The executable's own install rule lives beside its target (src/app), the desktop
# file and the icon beside the pictures (src/resources). An installed program's
# folder is not writable, so it keeps its data in the per-user data folder.

include(GNUInstallDirs)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/com.qvbzevi.QVBzevi.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

set(CPACK_PACKAGE_NAME qvbzevi)
set(CPACK_PACKAGE_VENDOR "QVBzevi")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Publishing assistant: site book, article library and tabbed browser")
# One string: a list would show as "a;b" in the package's description.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Keeps the sites you post to with their credentials, your articles as clauses and paragraphs, "
    "and a tabbed web browser in one window; hotkeys paste the texts into any web page field.")
set(CPACK_PACKAGE_CONTACT "QVBzevi maintainers <maintainers@qvbzevi.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.qvbzevi.com/")
# The libraries the executable links, the browser's helper process, the X11 platform
# and JPEG plugins (both in libqt6gui6), the SVG plugin, and the CJK fonts the window
# and the article texts need.
string(CONCAT CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6svg6 (>= 6.4), "
    "libqt6webenginecore6 (>= 6.4), libqt6webenginewidgets6 (>= 6.4), libqt6webenginecore6-bin (>= 6.4), "
    "fonts-noto-cjk")
# Adds the exact C and C++ runtime libraries when dpkg-shlibdeps is at hand.
find_program(QVB_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QVB_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)

# A test installs into a temporary DESTDIR and checks that every file is in place.
if(TARGET qvbzevi)
    add_test(NAME tst_install
             COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                     -DSTAGE_DIR=${CMAKE_BINARY_DIR}/install-check
                     -P ${CMAKE_CURRENT_LIST_DIR}/InstallCheck.cmake)
    set_tests_properties(tst_install PROPERTIES TIMEOUT 120)
endif()
