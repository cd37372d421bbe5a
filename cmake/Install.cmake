# `cmake --install build [--prefix <folder>]`: the program, its desktop entry and icons,
# and the udev rule that lets the user at the seat open the mouse without root rights.
# udev reads rules from <prefix>/lib/udev/rules.d only for the prefix /usr; for another
# prefix set VTRM408X_UDEV_RULES_DIR (for example /etc/udev/rules.d).
include(GNUInstallDirs)

set(VTRM408X_UDEV_RULES_DIR "lib/udev/rules.d" CACHE PATH
    "Folder the udev rule is installed into (relative: under the install prefix)")

install(TARGETS vtrm408x RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vtrm408x.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size IN LISTS VTRM408X_ICON_SIZES)
  install(FILES ${CMAKE_BINARY_DIR}/generated/skin/AppIcon_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME vtrm408x.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/70-vtrm408x.rules
        DESTINATION ${VTRM408X_UDEV_RULES_DIR})
