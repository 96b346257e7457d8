# `cmake --install` puts the program where a desktop expects it: the binary under bin/, the
# launcher entry under share/applications/ and the icon in the hicolor theme, as a scalable
# picture and at the two sizes desktops ask for most.
include(GNUInstallDirs)
install(TARGETS huiwenfang RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${HWF_ROOT}/data/huiwenfang.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(hwf_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${HWF_ROOT}/data/icons/huiwenfang.svg DESTINATION ${hwf_icons}/scalable/apps)
foreach(size 48 256)
  install(FILES ${HWF_ROOT}/data/icons/huiwenfang-${size}.png
          DESTINATION ${hwf_icons}/${size}x${size}/apps
          RENAME huiwenfang.png)
endforeach()
