# The installed layout follows the file-system hierarchy: the programs in bin/, the library they share in a
# private folder lib/talvex/ (found through their RPATH, relative to the program so that any prefix works),
# the templates, the spreadsheet bridge and the default data folder in share/talvex/.
include(GNUInstallDirs)
set(TALVEX_INSTALL_PRIVATE_LIBDIR lib/talvex)
set(TALVEX_INSTALL_RPATH "$ORIGIN/../${TALVEX_INSTALL_PRIVATE_LIBDIR}")
set(TALVEX_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/talvex)
