# What `cmake --install` lays out and what `cpack -G DEB` packs.
include(GNUInstallDirs)

set(LUMETRA_APP_ID org.lumetra.Lumetra)

install(TARGETS lumetra lumetra-window RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual and whatever pictures lie beside it; the program also carries a
# copy of the manual inside itself.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumetra)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/${LUMETRA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${LUMETRA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/lumetra.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/lumetra-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME lumetra.png)
endforeach()

# The headless player as a service: a system unit run as a named user
# (lumetra@USER) and a user unit. Their paths are those of the prefix the
# install really goes to (a package's /usr), so they are filled in then.
foreach(unit lumetra@.service:system lumetra.service:user)
  string(REPLACE ":" ";" parts ${unit})
  list(GET parts 0 name)
  list(GET parts 1 kind)
  install(CODE "
    file(READ \"${CMAKE_CURRENT_LIST_DIR}/${name}.in\" text)
    string(REPLACE \"@LUMETRA_BIN_DIR@\" \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\" text \"\${text}\")
    string(REPLACE \"@LUMETRA_DOC_DIR@\" \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/doc/lumetra\" text \"\${text}\")
    file(WRITE \"${PROJECT_BINARY_DIR}/packaging/${name}\" \"\${text}\")
    file(INSTALL \"${PROJECT_BINARY_DIR}/packaging/${name}\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/lib/systemd/${kind}\")
  ")
endforeach()

# Interface access for the user at the seat and the plugdev group.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/60-lumetra-ftdi.rules DESTINATION lib/udev/rules.d)

# Real-time limits for the audio group. PAM reads them from /etc only, so a
# package (prefix /usr) puts them there; any other prefix keeps them under
# its own etc/ for the administrator to copy.
set(LUMETRA_LIMITS_FILE ${CMAKE_CURRENT_LIST_DIR}/95-lumetra-realtime.conf)
install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(lumetra_etc /etc)
  else()
    set(lumetra_etc \"\${CMAKE_INSTALL_PREFIX}/etc\")
  endif()
  file(INSTALL \"${LUMETRA_LIMITS_FILE}\" DESTINATION \"\${lumetra_etc}/security/limits.d\")
")

set(CPACK_PACKAGE_NAME lumetra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lumetra developers")
set(CPACK_PACKAGE_CONTACT "Lumetra developers <lumetra@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lighting console for DMX512 stage and disco lighting")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumetra builds a show of up to 256 scenes of 255 channel levels, plays it at a\n\
tempo or on the beats of the sound input, and sends the DMX line every 50 ms to\n\
a USB-to-DMX interface built on an FTDI chip, or through the OLA daemon to\n\
Art-Net, sACN (E1.31) and the interfaces olad drives. The package brings a udev\n\
rule so that the user at the seat and the plugdev group may open the interface,\n\
and real-time limits for the audio group so that its output clock runs steady.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lumetra developers <lumetra@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugin is loaded at run time, so shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# olad is a daemon of its own, started by the operator (--interface=ola).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ola")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Install into the staging root with DESTDIR, so that the install sees the
# real prefix (/usr) and the limits file lands in /etc.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
