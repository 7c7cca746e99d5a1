# Pictures of the small windows (colour button, logo, hand cursor) and the 256-pixel
# application icon, embedded in the window library under :/janelas. The pictures are
# made by tools/desenhar_janelas.cpp and kept in the tree; to draw them again:
#   make zelpo_desenhar_janelas && ./zelpo_desenhar_janelas <source>/resources
set(ZELPO_ICONE_JANELAS "${CMAKE_SOURCE_DIR}/resources/icons/zelpora-256.png")
set_source_files_properties("${ZELPO_ICONE_JANELAS}" PROPERTIES QT_RESOURCE_ALIAS zelpora.png)
qt_add_resources(zelpo_windows "janelas_figuras" PREFIX "/janelas" BASE "${CMAKE_SOURCE_DIR}/resources/janelas"
  FILES
    "${CMAKE_SOURCE_DIR}/resources/janelas/cor_da_borda.png"
    "${CMAKE_SOURCE_DIR}/resources/janelas/logotipo.png"
    "${CMAKE_SOURCE_DIR}/resources/janelas/mao.png"
    "${ZELPO_ICONE_JANELAS}")

add_executable(zelpo_desenhar_janelas ${ZELPO_FERRAMENTAS_FORA} "${CMAKE_SOURCE_DIR}/tools/desenhar_janelas.cpp")
target_link_libraries(zelpo_desenhar_janelas PRIVATE Qt6::Gui)

# The frame an X11 window manager announces around a window is read from the X server, so
# that dialogs are centred by the frame the player sees (Centralizador.cpp). Without the
# xcb headers the dialogs count with the frame the toolkit reports.
pkg_check_modules(ZELPO_XCB QUIET IMPORTED_TARGET xcb)
if(ZELPO_XCB_FOUND)
  target_link_libraries(zelpo_windows PRIVATE PkgConfig::ZELPO_XCB)
  target_compile_definitions(zelpo_windows PRIVATE ZELPO_XCB)
endif()
