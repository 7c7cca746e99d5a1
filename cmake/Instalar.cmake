# Install rules: the executable, its picture folders, the launcher, the file type, the
# icons, the AppStream description and the manual page. The program finds its pictures
# beside itself in the build tree and in ../share/zelpora relative to its own folder once
# installed, so any prefix works, and so does bin/ or games/ (the Debian package sets
# CMAKE_INSTALL_BINDIR to games).
# The icon that the file type shows, beside the executable in the build tree.
configure_file("${CMAKE_SOURCE_DIR}/resources/icons/zelpora-256.png" "${CMAKE_BINARY_DIR}/zelpora.png" COPYONLY)

install(TARGETS zelpo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(pasta Facil Medio Dificil)
  install(DIRECTORY "${CMAKE_SOURCE_DIR}/pictures/${pasta}" DESTINATION "${CMAKE_INSTALL_DATADIR}/zelpora")
endforeach()
install(FILES "${CMAKE_SOURCE_DIR}/pictures/CREDITS.txt" DESTINATION "${CMAKE_INSTALL_DATADIR}/zelpora")
install(FILES "${CMAKE_SOURCE_DIR}/resources/sons/CREDITS.txt"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/zelpora" RENAME CREDITS-sons.txt)
# The launcher names the installed program by its full path, so that the menu finds it
# whether or not the session's PATH holds the games folder.
file(READ "${CMAKE_SOURCE_DIR}/resources/desktop/zelpora.desktop" lancador)
string(REPLACE "Exec=zelpo " "Exec=${CMAKE_INSTALL_FULL_BINDIR}/zelpo " lancador "${lancador}")
file(CONFIGURE OUTPUT "${ZELPO_GERADOS}/zelpora.desktop" CONTENT "${lancador}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/resources/desktop/zelpora.desktop")
install(FILES "${ZELPO_GERADOS}/zelpora.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
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

# The manual page, in English and in Portuguese.
install(FILES "${CMAKE_SOURCE_DIR}/docs/man/zelpo.6" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
install(FILES "${CMAKE_SOURCE_DIR}/docs/man/zelpo.pt_BR.6" RENAME zelpo.6
        DESTINATION "${CMAKE_INSTALL_MANDIR}/pt_BR/man6")

# The same launcher and type, embedded, for the registration a start makes for its user.
qt_add_resources(zelpo_files "desktop" PREFIX "/desktop" BASE "${CMAKE_SOURCE_DIR}/resources/desktop"
  FILES
    "${CMAKE_SOURCE_DIR}/resources/desktop/zelpora.desktop"
    "${CMAKE_SOURCE_DIR}/resources/desktop/zelpora-zpr.xml")
