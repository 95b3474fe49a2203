# Installs the build into a fresh DESTDIR with the prefix /usr and checks the files
# a desktop program needs. Run by the test tst_install:
#   cmake -DBUILD_DIR=<build> -DSTAGE_DIR=<empty folder> -P InstallCheck.cmake
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
    usr/share/metainfo/com.qvbzevi.QVBzevi.metainfo.xml)
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
# Nothing that belongs to the build or the tests is installed.
file(GLOB_RECURSE installed RELATIVE ${STAGE_DIR} ${STAGE_DIR}/*)
list(LENGTH installed count)
list(LENGTH expected wanted)
if(NOT count EQUAL wanted)
    message(FATAL_ERROR "unexpected files installed: ${installed}")
endif()
file(REMOVE_RECURSE ${STAGE_DIR})
message(STATUS "installed: ${installed}")
