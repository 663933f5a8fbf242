# Installing the program like a Debian desktop program, and the Debian
# package made from that by CPack:
#     cmake --build build/default --target package   ->  build/default/bandora_<version>_amd64.deb
#
#   /usr/bin/bandora, bandora-report, ...      the programs, each with a man page
#   /usr/share/bandora/                        the installed application folder (data/CMakeLists.txt):
#                                              the first start copies it to ~/.local/share/bandora
#   /usr/share/applications, icons, metainfo   the menu entry, its icon, the software-centre record
#   /usr/share/doc/bandora/                    changelog and copyright

set(BANDORA_ID org.bandora.Bandora)
set(BANDORA_MAINTAINER "The Bandora developers <bandora@example.org>")
set(BANDORA_RELEASE_DATE 2026-12-07)
set(BANDORA_RELEASE_DATE_RFC "Mon, 07 Dec 2026 12:00:00 +0000")
set(BANDORA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(BANDORA_STAGED_DIR ${CMAKE_BINARY_DIR}/packaging)

find_program(BANDORA_HELP2MAN help2man)
find_program(BANDORA_GZIP gzip)
if(NOT BANDORA_HELP2MAN OR NOT BANDORA_GZIP)
  message(STATUS "help2man or gzip missing: the package is made without man pages")
endif()

# Writes `source` gzipped (as Debian wants documentation: -9, no name or
# time stamp) to `output` at build time.
function(bandora_gzip source output)
  get_filename_component(name ${output} NAME_WLE)
  get_filename_component(dir ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${dir}/${name}
    COMMAND ${BANDORA_GZIP} -9nf ${dir}/${name}
    DEPENDS ${source} ${ARGN} VERBATIM)
endfunction()

# Installs an executable in bin/ with its man page, made at build time from
# its --help (the programs answer --help without a display). Executables that
# this build does not have are skipped, so every program the package may hold
# is named here once.
function(bandora_ship_program target summary)
  if(NOT TARGET ${target})
    return()
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(NOT BANDORA_HELP2MAN OR NOT BANDORA_GZIP)
    return()
  endif()
  set(page ${BANDORA_STAGED_DIR}/man/${target}.1)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BANDORA_STAGED_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            ${BANDORA_HELP2MAN} --no-info --version-string=${PROJECT_VERSION} --name=${summary}
            --section=1 --output=${page} $<TARGET_FILE:${target}>
    DEPENDS ${target} VERBATIM)
  bandora_gzip(${page} ${page}.gz)
  add_custom_target(${target}_manpage ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# The programs of the package, one line each.
bandora_ship_program(bandora "acquisition program of the Bandora activity instrument")
bandora_ship_program(bandora-report "reports and per-well files of recorded Bandora experiments")
bandora_ship_program(bandora-analyze "analysis of recorded Bandora experiments")
bandora_ship_program(bandora-sim "virtual Bandora instrument on a pseudo-terminal")
bandora_ship_program(bandora-demorecord "record a demonstration Bandora experiment without an instrument")

# Desktop integration.
configure_file(${BANDORA_PACKAGING_DIR}/${BANDORA_ID}.metainfo.xml.in
               ${BANDORA_STAGED_DIR}/${BANDORA_ID}.metainfo.xml @ONLY)
install(FILES ${BANDORA_PACKAGING_DIR}/${BANDORA_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${BANDORA_PACKAGING_DIR}/${BANDORA_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${BANDORA_STAGED_DIR}/${BANDORA_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Changelog and copyright. The changelog carries the version of the build.
if(BANDORA_GZIP)
  configure_file(${BANDORA_PACKAGING_DIR}/changelog.in ${BANDORA_STAGED_DIR}/changelog @ONLY)
  bandora_gzip(${BANDORA_STAGED_DIR}/changelog ${BANDORA_STAGED_DIR}/doc/changelog.gz)
  add_custom_target(bandora_changelog ALL DEPENDS ${BANDORA_STAGED_DIR}/doc/changelog.gz)
  install(FILES ${BANDORA_STAGED_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/bandora)
endif()
install(FILES ${BANDORA_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/bandora)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME bandora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Bandora developers")
set(CPACK_PACKAGE_CONTACT ${BANDORA_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "locomotor activity of small organisms in microplates")
set(CPACK_PACKAGE_DESCRIPTION
    "The desktop program of an instrument that counts the locomotor activity\n"
    "of small organisms in the wells of a microplate crossed by 384 infrared\n"
    "beams: it shows the activity live, records experiments per project and\n"
    "turns recordings into reports per well and per group of wells. A virtual\n"
    "instrument (bandora --simulate, bandora-sim) runs it without hardware.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BANDORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help > Content and the exports are handed to the desktop's own programs;
# the windows need some font, which a desktop has but a bare system may not.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
