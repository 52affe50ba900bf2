# The Debian package talvex, built by `cpack -G DEB` in the build folder: the two programs, their private
# library, the shipped files under /usr/share/talvex, the desktop entry with its icon and MIME type, and the
# manual pages. The library dependencies come from dpkg-shlibdeps, so they match what the programs link.
set(CPACK_PACKAGE_NAME talvex)
set(CPACK_PACKAGE_VENDOR "Talvex developers")
set(CPACK_PACKAGE_CONTACT "Talvex developers <talvex@users.noreply.talvex.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "composition of unstable liquid hydrocarbons from gas chromatograms")
# The summary line comes first; CPack indents these lines as the control file wants them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Talvex is the calculation program of a gas-chromatography laboratory. It
reads the chromatograms of the degassing gas and of the degassed condensate,
computes their compositions, checks them against the norms of the laboratory's
standard and joins them through the gas factor of the degassing into the
composition of the unstable liquid. It writes its reports as ODT, PDF, XML and
a spreadsheet.

The package holds the desktop program talvex and its command-line twin
talvex-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# talvex-synth (component tools) is a tool of the tests and examples: only the default component ships.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libbrisquel.so lives in the package's own library folder, not where dpkg-shlibdeps looks.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_BINARY_DIR}/bin")
# Qt finds its platform plugins (X11, Wayland) in a package of their own.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The PDF report and the spreadsheet export run LibreOffice; Qt's Russian texts for its own dialogs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libreoffice-calc-nogui | libreoffice-calc, libreoffice-writer-nogui | libreoffice-writer, python3-uno, qt6-translations-l10n")
# Ownership root:root and sane permissions inside the package whatever the build user's umask.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# What Debian wants beside every package: the copyright and the changelog (a native package: changelog.gz).
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
    COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/debian/changelog > ${CMAKE_BINARY_DIR}/debian/changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog)
add_custom_target(talvex_debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/talvex)

include(CPack)
