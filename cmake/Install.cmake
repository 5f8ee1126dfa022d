# Installation as a desktop application (programs, menu entry, icons, man pages, metainfo)
# and the .deb that CPack makes from it.
include(GNUInstallDirs)
# Installing and packaging take what is built; scripts/package.sh builds only what is installed.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(data ${PROJECT_SOURCE_DIR}/data)
set(generated ${PROJECT_BINARY_DIR}/data)
set(share ${CMAKE_INSTALL_DATADIR})

install(TARGETS tessaview tessaview-probe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program takes this file's presence as the sign that it runs installed: its settings then
# go to the user's configuration folder, never beside the program.
file(MAKE_DIRECTORY ${generated})
file(TOUCH ${generated}/installed)
install(FILES ${generated}/installed DESTINATION ${share}/tessaview)

install(FILES ${data}/org.tessaview.Tessaview.desktop DESTINATION ${share}/applications)
install(FILES ${data}/org.tessaview.Tessaview.metainfo.xml DESTINATION ${share}/metainfo)
install(FILES ${data}/tessaview.svg DESTINATION ${share}/icons/hicolor/scalable/apps)

# The bitmap icons are drawn from the SVG at build time; man pages are compressed as Debian wants.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)
set(outputs)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${generated}/icons/${size}/tessaview.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${data}/tessaview.svg
    DEPENDS ${data}/tessaview.svg VERBATIM)
  install(FILES ${png} DESTINATION ${share}/icons/hicolor/${size}x${size}/apps)
  list(APPEND outputs ${png})
endforeach()
foreach(page tessaview.1 tessaview-probe.1)
  add_custom_command(OUTPUT ${generated}/${page}.gz
    COMMAND ${GZIP} -9 -n -c ${data}/${page} > ${generated}/${page}.gz
    DEPENDS ${data}/${page} VERBATIM)
  install(FILES ${generated}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  list(APPEND outputs ${generated}/${page}.gz)
endforeach()
add_custom_target(tessaview_data ALL DEPENDS ${outputs})

# Debian looks for the licence as the package's copyright file.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${share}/doc/tessaview RENAME copyright)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${share}/doc/tessaview)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaview)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tessaview developers <support@tessaview.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "movie player built around the subtitle")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Plays one movie at a time and shows, in step with the picture, the lines of\n"
  "a subtitle file in a strip of its own below the picture: SubRip, frame-numbered\n"
  "lines, SubStation Alpha, SubViewer, start-time-only syntaxes and VobSub\n"
  "pictures, with timing correction, a subtitle frame-rate override and full\n"
  "screen. tessaview-probe shows what the player reads from a subtitle file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tessaview.org)
# Dependencies come from the libraries the two programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
