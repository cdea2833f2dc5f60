# An installed layout: the programs in <prefix>/lib/pavlora, the demo data
# folder in <prefix>/share/pavlora/Data, reached from the program folder by
# the relative link "Data" (data/CMakeLists.txt). An operator may name
# another data folder through the system-wide "DataFolder" setting.
include(GNUInstallDirs)
set(PAVLORA_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/pavlora)
set(PAVLORA_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/pavlora)
