# What `cmake --install` puts where (GNUInstallDirs, under CMAKE_INSTALL_PREFIX and
# DESTDIR): the two programs, the desktop entry, the icon in the hicolor theme, the
# AppStream metainfo, the man pages and the documents that carry the built-in sets' terms.
include(GNUInstallDirs)
# The documents go under the package's name, not the project's (Tessaly), unless a
# folder was given.
if("$CACHE{CMAKE_INSTALL_DOCDIR}" STREQUAL "")
    set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessaly)
endif()
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(TESSALY_APP_ID io.github.tessaly.Tessaly)

install(TARGETS tessaly tessaly-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/${TESSALY_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${TESSALY_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/tessaly.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${TESSALY_APP_ID}.svg)
foreach(size 16 32 48 128 256)
    install(FILES data/icons/tessaly-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${TESSALY_APP_ID}.png)
endforeach()

# The man pages and the release history go in gzipped, as Debian wants them (-n: no name
# or time stamp, so a build gives the same bytes each time).
set(compressed)
foreach(file docs/man/tessaly.1 docs/man/tessaly-convert.1 packaging/changelog)
    get_filename_component(name ${file} NAME)
    set(out ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${file}
                ${CMAKE_BINARY_DIR}/compressed/${name}
        COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/compressed/${name}
        DEPENDS ${CMAKE_SOURCE_DIR}/${file} VERBATIM)
    list(APPEND compressed ${out})
endforeach()
add_custom_target(tessaly_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_BINARY_DIR}/compressed/tessaly.1.gz
        ${CMAKE_BINARY_DIR}/compressed/tessaly-convert.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/compressed/changelog.gz packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES data/fonts/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME fonts.md)
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME tessaly)
