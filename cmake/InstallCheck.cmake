# Installs the build into a fresh DESTDIR with the prefix /usr and checks the files
# a desktop program and its Debian package need. Run by the test tst_install:
#   cmake -DBUILD_DIR=<build> -DSTAGE_DIR=<empty folder> -DPACKAGE_VERSION=<version>-<revision>
#         -DGZIP=<gzip> -P InstallCheck.cmake
file(REMOVE_RECURSE ${STAGE_DIR})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE_DIR} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(expected
    usr/bin/qvbzevi
    usr/share/applications/com.qvbzevi.QVBzevi.desktop
    usr/share/icons/hicolor/scalable/apps/qvbzevi.svg
    usr/share/metainfo/com.qvbzevi.QVBzevi.metainfo.xml
    usr/share/man/man1/qvbzevi.1.gz
    usr/share/doc/qvbzevi/copyright
    usr/share/doc/qvbzevi/changelog.Debian.gz
    usr/share/lintian/overrides/qvbzevi)
foreach(path ${expected})
    if(NOT EXISTS ${STAGE_DIR}/${path})
        message(FATAL_ERROR "not installed: /${path}")
    endif()
endforeach()
if(NOT IS_DIRECTORY ${STAGE_DIR}/usr/bin OR IS_SYMLINK ${STAGE_DIR}/usr/bin/qvbzevi)
    message(FATAL_ERROR "/usr/bin/qvbzevi is not a plain file")
endif()
file(READ ${STAGE_DIR}/usr/share/applications/com.qvbzevi.QVBzevi.desktop desktop)
if(NOT desktop MATCHES "Exec=qvbzevi" OR NOT desktop MATCHES "Icon=qvbzevi")
    message(FATAL_ERROR "the desktop file does not start qvbzevi with its icon")
endif()
# The manual page and the changelog are gzip files without a time stamp (bytes 4 to 7
# of the header), and they hold the manual page of section 1 and an entry for the
# package's own version.
foreach(page usr/share/man/man1/qvbzevi.1.gz usr/share/doc/qvbzevi/changelog.Debian.gz)
    file(READ ${STAGE_DIR}/${page} header LIMIT 8 HEX)
    if(NOT header MATCHES "^1f8b08..00000000$")
        message(FATAL_ERROR "/${page} is no gzip file without a time stamp (header ${header})")
    endif()
endforeach()
execute_process(COMMAND ${GZIP} -dc ${STAGE_DIR}/usr/share/man/man1/qvbzevi.1.gz
                OUTPUT_VARIABLE manual RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT manual MATCHES "^\\.TH QVBZEVI 1 " OR NOT manual MATCHES "\n\\.SH FILES\n")
    message(FATAL_ERROR "/usr/share/man/man1/qvbzevi.1.gz is not the manual page of qvbzevi(1)")
endif()
execute_process(COMMAND ${GZIP} -dc ${STAGE_DIR}/usr/share/doc/qvbzevi/changelog.Debian.gz
                OUTPUT_VARIABLE changelog RESULT_VARIABLE result)
string(REPLACE "." "\\." version_pattern "${PACKAGE_VERSION}")
if(NOT result EQUAL 0 OR NOT changelog MATCHES "^qvbzevi \\(${version_pattern}\\) ")
    string(REGEX MATCH "^[^\n]*" head "${changelog}")
    message(FATAL_ERROR "the changelog's newest entry is not for the package's version ${PACKAGE_VERSION}: ${head}")
endif()
file(READ ${STAGE_DIR}/usr/share/doc/qvbzevi/copyright copyright)
if(NOT copyright MATCHES "^Format: https://www\\.debian\\.org/doc/packaging-manuals/copyright-format/1\\.0/\n"
   OR NOT copyright MATCHES "\nLicense: GPL-3\\.0-or-later\n"
   OR NOT copyright MATCHES "/usr/share/common-licenses/GPL-3")
    message(FATAL_ERROR "/usr/share/doc/qvbzevi/copyright does not name GPL-3.0-or-later in the Debian format")
endif()
# Nothing that belongs to the build or the tests is installed.
file(GLOB_RECURSE installed RELATIVE ${STAGE_DIR} ${STAGE_DIR}/*)
list(LENGTH installed count)
list(LENGTH expected wanted)
if(NOT count EQUAL wanted)
    message(FATAL_ERROR "unexpected files installed: ${installed}")
endif()
file(REMOVE_RECURSE ${STAGE_DIR})
message(STATUS "installed: ${installed}")
