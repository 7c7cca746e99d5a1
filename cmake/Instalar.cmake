# Install rules: the executable, its picture folders, the launcher, the file type, the
# icons and the AppStream description. The program finds its pictures beside itself in
# the build tree and in ../share/zelpora relative to its own folder once installed, so
# any prefix works.
# The icon that the file type shows, beside the executable in the build tree.
configure_file("${CMAKE_SOURCE_DIR}/resources/icons/zelpora-256.png" "${CMAKE_BINARY_DIR}/zelpora.png" COPYONLY)

install(TARGETS zelpo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(pasta Facil Medio Dificil)
  install(DIRECTORY "${CMAKE_SOURCE_DIR}/pictures/${pasta}" DESTINATION "${CMAKE_INSTALL_DATADIR}/zelpora")
endforeach()
install(FILES "${CMAKE_SOURCE_DIR}/pictures/CREDITS.txt" DESTINATION "${CMAKE_INSTALL_DATADIR}/zelpora")
install(FILES "${CMAKE_SOURCE_DIR}/resources/sons/CREDITS.txt"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/zelpora" RENAME CREDITS-sons.txt)
install(FILES "${CMAKE_SOURCE_DIR}/resources/desktop/zelpora.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${CMAKE_SOURCE_DIR}/resources/desktop/zelpora-zpr.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages")
configure_file("${CMAKE_SOURCE_DIR}/resources/desktop/zelpora.metainfo.xml.in"
               "${ZELPO_GERADOS}/zelpora.metainfo.xml" @ONLY)
install(FILES "${ZELPO_GERADOS}/zelpora.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
foreach(tamanho 16 32 48 64 128 256)
  set(icone "${CMAKE_SOURCE_DIR}/resources/icons/zelpora-${tamanho}.png")
  if(EXISTS "${icone}")
    install(FILES "${icone}" RENAME zelpora.png
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${tamanho}x${tamanho}/apps")
  endif()
  set(icone "${CMAKE_SOURCE_DIR}/resources/icons/application-x-zelpora-zpr-${tamanho}.png")
  if(EXISTS "${icone}")
    install(FILES "${icone}" RENAME application-x-zelpora-zpr.png
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${tamanho}x${tamanho}/mimetypes")
  endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelpora)
set(CPACK_PACKAGE_CONTACT "zelpora@example.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Classic jigsaw puzzles from any picture")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n, libpulse0 | libasound2")
include(CPack)

# The same launcher and type, embedded, for the registration a start makes for its user.
qt_add_resources(zelpo_files "desktop" PREFIX "/desktop" BASE "${CMAKE_SOURCE_DIR}/resources/desktop"
  FILES
    "${CMAKE_SOURCE_DIR}/resources/desktop/zelpora.desktop"
    "${CMAKE_SOURCE_DIR}/resources/desktop/zelpora-zpr.xml")
