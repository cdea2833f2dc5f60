# An installed layout: the programs in <prefix>/lib/pavlora, the demo data
# folder in <prefix>/share/pavlora/Data. The data folder is found through the
# system-wide "DataFolder" setting that a package writes.
include(GNUInstallDirs)
set(PAVLORA_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/pavlora)
set(PAVLORA_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/pavlora)
