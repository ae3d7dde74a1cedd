# Installing Tamrivo (cmake --install) and packing what is installed (cpack): on Windows a zip
# with Tamrivo.exe, the README and the license; elsewhere a Debian package with the command
# tamrivo, its man page, the copyright file and the changelog. scripts/package-windows.sh and
# scripts/package-debian.sh make them.
include(GNUInstallDirs)

# The packages' version: the first three parts of the fixed file version.
list(SUBLIST TAMRIVO_FILE_VERSION 0 3 TAMRIVO_PACKAGE_VERSION)
list(JOIN TAMRIVO_PACKAGE_VERSION . TAMRIVO_PACKAGE_VERSION)
set(CPACK_PACKAGE_VERSION ${TAMRIVO_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "Tamrivo developers")
set(CPACK_STRIP_FILES TRUE)
tamrivo_version_string(FileDescription CPACK_PACKAGE_DESCRIPTION_SUMMARY)

if(WIN32)
    # One folder to unpack anywhere: the program beside its README and license.
    install(TARGETS Tamrivo RUNTIME DESTINATION .)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME Tamrivo-${TAMRIVO_PACKAGE_VERSION}-win64)
else()
    set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/tamrivo)
    # Commands on Debian are lower-case; the build keeps its target's name.
    install(PROGRAMS $<TARGET_FILE:Tamrivo> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME tamrivo)
    # install(PROGRAMS) strips nothing, so cmake --install --strip and cpack strip it here.
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded --remove-section=.comment
                --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tamrivo\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()")

    # The man page and the changelog, compressed as Debian keeps them (no name or time inside).
    set(compressed)
    foreach(document tamrivo.1 changelog)
        add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${document}.gz
            COMMAND sh -c "gzip -9n -c \"$1\" >\"$2\"" sh
                ${PROJECT_SOURCE_DIR}/packaging/${document}
                ${CMAKE_CURRENT_BINARY_DIR}/${document}.gz
            DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${document}
            VERBATIM)
        list(APPEND compressed ${CMAKE_CURRENT_BINARY_DIR}/${document}.gz)
    endforeach()
    add_custom_target(tamrivo_documents ALL DEPENDS ${compressed})
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tamrivo.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${doc_dir} RENAME copyright)

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME tamrivo)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
        GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tamrivo developers <dev@tamrivo.invalid>")
    set(CPACK_DEBIAN_PACKAGE_SECTION devel)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # The extended description, in lines that fit 80 columns with the leading blank.
    set(CPACK_PACKAGE_DESCRIPTION
        "Given a Visual Studio project file (.vcxproj), its filters file and the root
of the source tree it builds, tamrivo walks the tree and writes a new project
file and a new filters file beside the old ones, listing exactly the files now
in the tree, with a report of what changed. It is for projects whose files are
listed by hand, such as embedded and firmware projects built with make files,
linker scripts and batch files beside the C and C++ sources.")
endif()
include(CPack)
