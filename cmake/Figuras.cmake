# Picture decoding: enhanced metafiles go through libemf2svg, which ships neither a
# pkg-config file nor a CMake package, and are drawn with Qt's SVG renderer; JPEG photos
# are read row by row with libjpeg, the library Qt's own reader uses.
find_path(EMF2SVG_INCLUDE_DIR emf2svg.h REQUIRED)
find_library(EMF2SVG_LIBRARY emf2svg REQUIRED)
find_package(JPEG REQUIRED)
target_include_directories(zelpo_pictures PRIVATE "${EMF2SVG_INCLUDE_DIR}")
target_link_libraries(zelpo_pictures PRIVATE "${EMF2SVG_LIBRARY}" Qt6::Svg JPEG::JPEG)

# Writes decoded pictures as PNG files, for a visual check (tools/ver_figura.cpp).
add_executable(zelpo_ver_figura ${ZELPO_FERRAMENTAS_FORA} "${CMAKE_SOURCE_DIR}/tools/ver_figura.cpp")
target_link_libraries(zelpo_ver_figura PRIVATE zelpo_core JPEG::JPEG)
target_compile_definitions(zelpo_ver_figura PRIVATE ZELPO_FONTE="${CMAKE_SOURCE_DIR}")
