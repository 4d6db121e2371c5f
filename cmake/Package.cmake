# Installation layout and the Debian package (make package).
#
# The program keeps all its files in its current folder, so it is not put on
# PATH itself: /usr/games/valmerin is a launcher that moves into the user's data
# folder first, and the program lives under /usr/lib/valmerin. A games front end
# belongs to Debian's games section, whose programs go to /usr/games.

set(VALMERIN_APP_ID io.github.valmerin.Valmerin)
install(TARGETS valmerin RUNTIME DESTINATION lib/valmerin)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/valmerin DESTINATION games)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VALMERIN_APP_ID}.desktop
        DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VALMERIN_APP_ID}.metainfo.xml
        DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION share/doc/valmerin)
foreach(size IN ITEMS 16 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/valmerin-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps
          RENAME valmerin.png)
endforeach()

# Compressed without a time stamp, so the same sources give the same package.
set(VALMERIN_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${VALMERIN_CHANGELOG}
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${VALMERIN_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  VERBATIM)
set(VALMERIN_DOCS ${VALMERIN_CHANGELOG})
install(FILES ${VALMERIN_CHANGELOG} DESTINATION share/doc/valmerin)

# The manual page is written in scdoc; make package installs it (and so does
# any machine with scdoc), a plain build elsewhere goes without the page.
find_program(VALMERIN_SCDOC scdoc)
if(VALMERIN_SCDOC)
  set(VALMERIN_MAN_PAGE ${CMAKE_BINARY_DIR}/valmerin.1.gz)
  add_custom_command(
    OUTPUT ${VALMERIN_MAN_PAGE}
    COMMAND sh -c "${VALMERIN_SCDOC} < \"$0\" | gzip -9n > \"$1\""
            ${CMAKE_SOURCE_DIR}/packaging/valmerin.1.scd ${VALMERIN_MAN_PAGE}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/valmerin.1.scd
    VERBATIM)
  list(APPEND VALMERIN_DOCS ${VALMERIN_MAN_PAGE})
  install(FILES ${VALMERIN_MAN_PAGE} DESTINATION share/man/man1)
else()
  message(STATUS "scdoc not found: the manual page valmerin(1) is not built")
endif()
add_custom_target(valmerin_docs ALL DEPENDS ${VALMERIN_DOCS})

# The hardening Debian builds its own packages with (dpkg-buildflags): fortified
# libc calls where the optimiser can check them, and a read-only symbol table.
if(NOT VALMERIN_SANITIZE)
  foreach(target IN ITEMS valmerin_core valmerin_ui valmerin)
    target_compile_definitions(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  endforeach()
  target_link_options(valmerin PRIVATE LINKER:-z,relro LINKER:-z,now)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME valmerin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Valmerin")
set(CPACK_PACKAGE_CONTACT "Valmerin developers <valmerin@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "front end for the ZSnes, KGen, NESticle and Magic Engine emulators")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Valmerin lists the games of four outside emulators (ZSnes, KGen, NESticle\n\
and Magic Engine), one tab each, shows every game under the description you\n\
gave it and starts the emulator on a double-clicked game with the switches\n\
chosen in its options window. It emulates nothing itself.\n\
.\n\
Its files live in ~/.local/share/valmerin; the emulators, Windows and DOS\n\
programs, are started through Wine and DOSBox.")
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
    "libqt6widgets6, libqt6printsupport6, libqt6gui6, libqt6core6, libarchive13")
find_program(VALMERIN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VALMERIN_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libstdc++6, libc6")
endif()

include(CPack)
