# `cmake --install` puts the program where a desktop expects it: the binary under bin/.
include(GNUInstallDirs)
install(TARGETS huiwenfang RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
