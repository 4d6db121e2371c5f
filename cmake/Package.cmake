# Installation layout and the Debian package (make package).
#
# The program keeps all its files in its current folder, so it is not put on
# PATH itself: /usr/bin/valmerin is a launcher that moves into the user's data
# folder first, and the program lives under /usr/lib/valmerin.

install(TARGETS valmerin RUNTIME DESTINATION lib/valmerin)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/valmerin DESTINATION bin)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/valmerin.desktop
        DESTINATION share/applications)
foreach(size IN ITEMS 16 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/valmerin-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps
          RENAME valmerin.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME valmerin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Valmerin")
set(CPACK_PACKAGE_CONTACT "Valmerin developers <valmerin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "front end for the ZSnes, KGen, NESticle and Magic Engine emulators")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Valmerin lists the games of four outside emulators (ZSnes, KGen, NESticle\n\
and Magic Engine), one tab each, shows every game under the description you\n\
gave it and starts the emulator on a double-clicked game with the switches\n\
chosen in its options window. It emulates nothing itself.\n\
.\n\
Its files live in ~/.local/share/valmerin; the emulators, Windows and DOS\n\
programs, are started through Wine.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The real emulators are Windows and DOS programs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine, dosbox, qt6-translations-l10n")

# The Qt libraries are named by hand: the linker drops the ones the program
# reaches only indirectly (Gui, whose platform plugin draws every window), so
# dpkg-shlibdeps alone would miss them. When it is there (dpkg-dev) it adds
# the versions and the C and C++ runtimes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6, libqt6printsupport6, libqt6gui6, libqt6core6")
find_program(VALMERIN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VALMERIN_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libstdc++6, libc6")
endif()

include(CPack)
