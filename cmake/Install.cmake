# What `cmake --install` puts on a Linux system, and the Debian package CPack
# makes of it (scripts/package): the program and the simulator, the desktop
# entry, the icon in every size, the AppStream metadata and the manual page.
include(GNUInstallDirs)

set(KVL_DESKTOP_ID example.orvanto.kvlconfig3)
set(KVL_RELEASE_DATE 2026-12-09)
set(KVL_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(KVL_ICON_DIR ${PROJECT_SOURCE_DIR}/src/resources/icons)
set(KVL_ICON_SIZES 16 22 24 32 48 64 128 256)

# The maker's web page and support address are named once, for the About box.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/views/MakerInfo.h KVL_MAKER_LINES REGEX "k(WebUrl|SupportEmail) = ")
foreach(line IN LISTS KVL_MAKER_LINES)
  string(REGEX REPLACE ".*k(WebUrl|SupportEmail) = \"([^\"]*)\".*" "\\1;\\2" pair "${line}")
  list(GET pair 0 key)
  list(GET pair 1 value)
  set(KVL_MAKER_${key} "${value}")
endforeach()
set(KVL_MAKER_WEB_URL ${KVL_MAKER_WebUrl})

configure_file(${KVL_DATA_DIR}/${KVL_DESKTOP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/data/${KVL_DESKTOP_ID}.metainfo.xml @ONLY)
configure_file(${KVL_DATA_DIR}/kvlconfig3.1.in ${CMAKE_BINARY_DIR}/data/kvlconfig3.1 @ONLY)

# Manual pages go compressed, as Debian keeps them; -n leaves the time out of the file.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/data/kvlconfig3.1.gz
  COMMAND ${GZIP_EXECUTABLE} -9nf -k ${CMAKE_BINARY_DIR}/data/kvlconfig3.1
  DEPENDS ${CMAKE_BINARY_DIR}/data/kvlconfig3.1
  COMMENT "Compressing the manual page")
add_custom_target(kvl_manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/data/kvlconfig3.1.gz)

install(TARGETS kvlconfig3 kvl3sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KVL_DATA_DIR}/${KVL_DESKTOP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/data/${KVL_DESKTOP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KVL_ICON_DIR}/kvlconfig3.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS KVL_ICON_SIZES)
  install(FILES ${KVL_ICON_DIR}/kvlconfig3-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kvlconfig3.png)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/data/kvlconfig3.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. Its library dependencies are those dpkg-shlibdeps finds in
# the two programs (the Qt 6 runtime of Debian 12 and the C and C++ libraries).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvlconfig3)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Orvanto)
set(CPACK_PACKAGE_CONTACT "KVLConfig3 maintainers <${KVL_MAKER_SupportEmail}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure and monitor Korvelan-3 marine NMEA multiplexers")
set(CPACK_PACKAGE_DESCRIPTION
  "KVLConfig3 shows the NMEA traffic a Korvelan-3 multiplexer forwards, reads and edits\n\
every setting of the device live, keeps configurations in files, updates the firmware,\n\
lists the NMEA 2000 bus and sets up the Ethernet and WiFi models. The multiplexer is\n\
reached over a USB serial port, TCP or UDP. kvl3sim, a simulated multiplexer, lets the\n\
tool be tried without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KVL_MAKER_WEB_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Wayland sessions draw through Qt's own Wayland platform when it is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
