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

# What a Debian package carries beside the programs: the copyright, the
# changelog and a manual page for each program, compressed as Debian's tools
# do (gzip -9n: best compression, no time stamp, so the package is the same
# from one build to the next).
set(dossel_package_docs ${PROJECT_SOURCE_DIR}/docs/package)
set(dossel_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/dossel)
file(STRINGS ${dossel_package_docs}/changelog dossel_changelog_head LIMIT_COUNT 1)
if(NOT dossel_changelog_head MATCHES "^dossel \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "docs/package/changelog starts \"${dossel_changelog_head}\": "
    "its newest entry must be for version ${PROJECT_VERSION}")
endif()
find_program(DOSSEL_GZIP gzip REQUIRED)
set(dossel_man_pages)
foreach(program dossel dosselce)
  if(TARGET ${program})
    list(APPEND dossel_man_pages ${PROJECT_SOURCE_DIR}/docs/man/${program}.1)
  endif()
endforeach()
set(dossel_compressed)
foreach(source ${dossel_package_docs}/changelog ${dossel_man_pages})
  get_filename_component(name ${source} NAME)
  set(compressed ${PROJECT_BINARY_DIR}/package-files/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${PROJECT_BINARY_DIR}/package-files/${name}
    COMMAND ${DOSSEL_GZIP} -9nf ${PROJECT_BINARY_DIR}/package-files/${name}
    DEPENDS ${source} VERBATIM)
  list(APPEND dossel_compressed ${compressed})
  if(name STREQUAL "changelog")
    install(FILES ${compressed} DESTINATION ${dossel_doc_dir})
  else()
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
add_custom_target(dossel_package_files ALL DEPENDS ${dossel_compressed})
install(FILES ${dossel_package_docs}/copyright DESTINATION ${dossel_doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dossel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Dossel developers <dossel@dossel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Interactive SQL client for ODBC data sources and SQLite files")
# The extended description, as Debian's control file wants it: lines of at
# most 80 characters, an empty line between paragraphs.
set(CPACK_PACKAGE_DESCRIPTION [[
Dossel connects to an ODBC data source, runs the SQL typed into its query
pane and shows the rows of each result set in a grid or as text, every step
with its time and row count in a trace pane, and the tables, views, columns,
indexes, constraints and triggers of the database in a schema pane, from
which it writes SQL scripts. An SQLite file opens without any ODBC
configuration. Results can be exported to delimited or tagged text files.

Two programs: dossel, with narrow (UTF-8) text, and dosselce, the handheld
edition, with UTF-16 text, a document list and a smaller command set.]])
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Installed without symbols, as a distribution ships them.
set(CPACK_STRIP_FILES ON)
# Linked: wx, GTK and SQLite (the run history). Loaded at run time, so no
# tool can find them: the driver manager and the SQLite driver.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libwxgtk3.2-1, libwxbase3.2-1, libgtk-3-0, libsqlite3-0, libstdc++6, libc6, libodbc2, unixodbc, libsqliteodbc")
include(CPack)
