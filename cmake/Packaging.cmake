# Documentation and the Debian package (cmake --build build --target package).

# man wants its pages compressed.
set(PBZ_MAN_GZ ${CMAKE_CURRENT_BINARY_DIR}/pbzetrolin.1.gz)
add_custom_command(OUTPUT ${PBZ_MAN_GZ}
  COMMAND gzip -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/docs/pbzetrolin.1 > ${PBZ_MAN_GZ}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/docs/pbzetrolin.1)
add_custom_target(manpage ALL DEPENDS ${PBZ_MAN_GZ})
install(FILES ${PBZ_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pbzetrolin)
set(CPACK_PACKAGE_VERSION 0.20)
set(CPACK_PACKAGE_CONTACT "The PB Zetrolin developers <pbzetrolin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "lists procedures, calls and terms of PureBasic programs spread over many files")
set(CPACK_PACKAGE_DESCRIPTION
"PB Zetrolin takes a PureBasic main file, collects every file it includes and
lists every procedure, every call of one procedure with its caller, every
whole-word occurrence of a name, and all procedures with their call counts.
It runs as an external tool of the PureBasic IDE or on the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/pbzetrolin")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
find_program(PBZ_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PBZ_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libgtk2.0-0, libglib2.0-0, libpango-1.0-0, libgdk-pixbuf-2.0-0, libc6, libstdc++6, libgcc-s1")
endif()
include(CPack)
