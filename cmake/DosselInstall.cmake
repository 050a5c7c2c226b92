# Installing both programs like any desktop program: the programs in bin,
# DosselODBC in a library folder of its own (found through the programs'
# run path), a menu entry and the icon at the usual sizes, and a .deb made
# by CPack that names the packages the programs load at run time.
include(GNUInstallDirs)
set(dossel_library_dir ${CMAKE_INSTALL_LIBDIR}/dossel)

foreach(program dossel dosselce)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/../${dossel_library_dir}")
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
install(TARGETS DosselODBC LIBRARY DESTINATION ${dossel_library_dir})

install(FILES ${PROJECT_SOURCE_DIR}/res/desktop/dossel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The icon is our own 32-pixel drawing, scaled without smoothing so its
# pixels stay sharp at every size.
find_program(DOSSEL_CONVERT convert REQUIRED)
foreach(size 16 24 32 48 64 128 256)
  set(icon ${PROJECT_BINARY_DIR}/icons/${size}/dossel.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}
    COMMAND ${DOSSEL_CONVERT} ${PROJECT_SOURCE_DIR}/res/images/app_icon.xpm -filter point -resize ${size}x${size} ${icon}
    DEPENDS ${PROJECT_SOURCE_DIR}/res/images/app_icon.xpm VERBATIM)
  list(APPEND dossel_icons ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(dossel_icons ALL DEPENDS ${dossel_icons})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dossel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Dossel developers <dossel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Interactive SQL client for ODBC data sources and SQLite files")
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Linked: wx, GTK and SQLite (the run history). Loaded at run time, so no
# tool can find them: the driver manager and the SQLite driver.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libwxgtk3.2-1, libwxbase3.2-1, libgtk-3-0, libsqlite3-0, libstdc++6, libc6, libodbc2, unixodbc, libsqliteodbc")
include(CPack)
