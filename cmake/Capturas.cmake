# A tool that renders the windows to PNG files for a look (not built by default).
add_executable(zelpo_capturas ${ZELPO_FERRAMENTAS_FORA} tools/capturas.cpp)
target_link_libraries(zelpo_capturas PRIVATE zelpo_windows Qt6::Test)
target_compile_definitions(zelpo_capturas PRIVATE ZELPO_FONTE="${CMAKE_SOURCE_DIR}")
# The share of one-colour 2 x 2 blocks in a screenshot's busy areas: pixel doubling shows.
add_executable(zelpo_nitidez ${ZELPO_FERRAMENTAS_FORA} tools/nitidez.cpp)
target_link_libraries(zelpo_nitidez PRIVATE Qt6::Gui)
