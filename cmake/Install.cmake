# Installing Tintor as a desktop program: the executable, its menu entry and
# icon, the software-centre description and the manual page, under the usual
# prefix layout (`cmake --install build --prefix P`; DESTDIR is honoured).
include(GNUInstallDirs)

# The icon in every size, drawn by the artwork tool into the build folder.
set(TINTOR_ICON_DIR ${PROJECT_BINARY_DIR}/icons)
set(TINTOR_ICON_FILES ${TINTOR_ICON_DIR}/hicolor/scalable/apps/tintor.svg)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND TINTOR_ICON_FILES ${TINTOR_ICON_DIR}/hicolor/${size}x${size}/apps/tintor.png)
endforeach()
add_custom_command(
  OUTPUT ${TINTOR_ICON_FILES}
  COMMAND tintor_artwork --icons ${TINTOR_ICON_DIR}
  DEPENDS tintor_artwork
  COMMENT "Drawing the desktop icon"
  VERBATIM)

# The window shows the same icon: the 128-pixel picture's bytes are built
# into the program (the assembler pulls them in; nothing is read at run time).
set(TINTOR_WINDOW_ICON ${TINTOR_ICON_DIR}/hicolor/128x128/apps/tintor.png)
set(TINTOR_WINDOW_ICON_SOURCE ${PROJECT_BINARY_DIR}/window_icon_embedded.cpp)
string(REPLACE "\\" "\\\\\\\\" TINTOR_WINDOW_ICON_ASM "${TINTOR_WINDOW_ICON}")
string(REPLACE "\"" "\\\\\\\"" TINTOR_WINDOW_ICON_ASM "${TINTOR_WINDOW_ICON_ASM}")
configure_file(main/window_icon_embedded.cpp.in ${TINTOR_WINDOW_ICON_SOURCE} @ONLY)
set_source_files_properties(${TINTOR_WINDOW_ICON_SOURCE} PROPERTIES OBJECT_DEPENDS ${TINTOR_WINDOW_ICON})
add_library(tintor_window_icon OBJECT ${TINTOR_WINDOW_ICON_SOURCE})
target_link_libraries(tintor_entry PRIVATE tintor_window_icon)

# Manual pages are installed compressed; -n keeps the bytes free of dates.
set(TINTOR_MAN_PAGE ${PROJECT_BINARY_DIR}/man/tintor.1.gz)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man)
add_custom_command(
  OUTPUT ${TINTOR_MAN_PAGE}
  COMMAND sh -c "gzip -9nc \"$0\" > \"$1\""
          ${PROJECT_SOURCE_DIR}/data/tintor.1 ${TINTOR_MAN_PAGE}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/tintor.1
  VERBATIM)

add_custom_target(tintor_desktop_files ALL DEPENDS ${TINTOR_ICON_FILES} ${TINTOR_MAN_PAGE})

install(TARGETS tintor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/org.tintor.Tintor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/org.tintor.Tintor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${TINTOR_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${TINTOR_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tintor RENAME copyright)
