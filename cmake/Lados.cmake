# The edge-shape tables, embedded in the pieces library, and the contact-sheet tool that
# draws every outline of both piece sizes for a visual check (tools/folha_lados.cpp).
qt_add_resources(zelpo_pieces "lados" PREFIX "/lados" BASE "${CMAKE_SOURCE_DIR}/resources/lados"
  FILES
    "${CMAKE_SOURCE_DIR}/resources/lados/normal.bin"
    "${CMAKE_SOURCE_DIR}/resources/lados/pequenas.bin")

add_executable(zelpo_folha_lados ${ZELPO_FERRAMENTAS_FORA} "${CMAKE_SOURCE_DIR}/tools/folha_lados.cpp")
target_link_libraries(zelpo_folha_lados PRIVATE zelpo_core)
