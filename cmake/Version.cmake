# The program's version data, written down once. The Windows resource script and, on other
# systems, the version block placed in the executable are both made from these values.

set(TAMRIVO_FILE_VERSION 1 0 0 0)     # the fixed file version; the banner shows its first two parts
set(TAMRIVO_PRODUCT_VERSION 1 0 0 0)
set(TAMRIVO_FILE_FLAGS_MASK 0x3F)
set(TAMRIVO_FILE_FLAGS 0x0)
set(TAMRIVO_FILE_OS 0x40004)          # Windows NT, 32-bit Windows API
set(TAMRIVO_FILE_TYPE 0x1)            # an application
set(TAMRIVO_FILE_SUBTYPE 0x0)
set(TAMRIVO_VERSION_LANGUAGE 0409)    # U.S. English
set(TAMRIVO_VERSION_CODE_PAGE 04B0)   # Unicode

# The string table: keys and values in the order the resource lists them.
set(TAMRIVO_VERSION_STRINGS
    CompanyName "Tamrivo developers"
    FileDescription "Brings a Visual Studio project back in line with its source tree"
    FileVersion "1.2.0.0"
    InternalName "Tamrivo"
    LegalCopyright "Copyright (C) 2026 Tamrivo developers"
    OriginalFilename "Tamrivo.exe"
    ProductName "Tamrivo"
    ProductVersion "1.4.0.0")

# tamrivo_version_string(<key> <variable>): the string table's value for key.
function(tamrivo_version_string key variable)
    list(FIND TAMRIVO_VERSION_STRINGS "${key}" index)
    if(index LESS 0)
        message(FATAL_ERROR "The version strings have no ${key}")
    endif()
    math(EXPR index "${index} + 1")
    list(GET TAMRIVO_VERSION_STRINGS ${index} value)
    set(${variable} "${value}" PARENT_SCOPE)
endfunction()

# Joins the four parts of a version into its two 32-bit words, as hexadecimal numbers.
function(tamrivo_version_words parts most least)
    list(GET parts 0 major)
    list(GET parts 1 minor)
    list(GET parts 2 build)
    list(GET parts 3 revision)
    math(EXPR ms "(${major} << 16) | ${minor}" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR ls "(${build} << 16) | ${revision}" OUTPUT_FORMAT HEXADECIMAL)
    set(${most} ${ms} PARENT_SCOPE)
    set(${least} ${ls} PARENT_SCOPE)
endfunction()

# tamrivo_add_version_data(<target>): gives the executable target its version data: on Windows a
# compiled resource script, which also holds the application manifest, elsewhere the version
# block that src/platform finds in the file.
function(tamrivo_add_version_data target)
    string(TOLOWER "${TAMRIVO_VERSION_LANGUAGE}${TAMRIVO_VERSION_CODE_PAGE}" TAMRIVO_STRING_TABLE_NAME)
    set(TAMRIVO_TRANSLATION "0x${TAMRIVO_VERSION_LANGUAGE}, 0x${TAMRIVO_VERSION_CODE_PAGE}")
    string(REPLACE ";" "," TAMRIVO_RC_FILE_VERSION "${TAMRIVO_FILE_VERSION}")
    string(REPLACE ";" "," TAMRIVO_RC_PRODUCT_VERSION "${TAMRIVO_PRODUCT_VERSION}")
    tamrivo_version_words("${TAMRIVO_FILE_VERSION}" TAMRIVO_FILE_VERSION_MS TAMRIVO_FILE_VERSION_LS)
    tamrivo_version_words("${TAMRIVO_PRODUCT_VERSION}"
        TAMRIVO_PRODUCT_VERSION_MS TAMRIVO_PRODUCT_VERSION_LS)

    # Both outputs quote the texts as they are, so texts that would need escaping are refused.
    set(TAMRIVO_RC_STRINGS "")
    set(TAMRIVO_BLOCK_STRINGS "")
    set(strings ${TAMRIVO_VERSION_STRINGS})
    while(strings)
        list(POP_FRONT strings key value)
        if("${key}${value}" MATCHES "[\"\\\\]")
            message(FATAL_ERROR "Version string ${key} must not contain quotes or backslashes")
        endif()
        string(APPEND TAMRIVO_RC_STRINGS "            VALUE \"${key}\", \"${value}\"\n")
        string(APPEND TAMRIVO_BLOCK_STRINGS "    \"${key}\\0\" \"${value}\\0\"\n")
    endwhile()

    if(WIN32)
        set(TAMRIVO_MANIFEST ${PROJECT_SOURCE_DIR}/cmake/Tamrivo.exe.manifest)
        configure_file(${PROJECT_SOURCE_DIR}/cmake/Tamrivo.rc.in
            ${CMAKE_CURRENT_BINARY_DIR}/Tamrivo.rc @ONLY)
        target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/Tamrivo.rc)
        set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/Tamrivo.rc
            PROPERTIES OBJECT_DEPENDS ${TAMRIVO_MANIFEST})
        if(MSVC)
            # The resource script brings the manifest; the linker's own would be a second one.
            target_link_options(${target} PRIVATE /MANIFEST:NO)
        endif()
    else()
        configure_file(${PROJECT_SOURCE_DIR}/cmake/TamrivoVersionBlock.cpp.in
            ${CMAKE_CURRENT_BINARY_DIR}/TamrivoVersionBlock.cpp @ONLY)
        target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/TamrivoVersionBlock.cpp)
    endif()
endfunction()
