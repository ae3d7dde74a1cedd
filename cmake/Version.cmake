# The program's version data, written down once. The Windows resource script and, on other
# systems, the banner's texts compiled into the program are both made from these values.

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

# Version strings are quoted as they are in the generated files, so texts that would need escaping
# are refused.
set(strings ${TAMRIVO_VERSION_STRINGS})
while(strings)
    list(POP_FRONT strings key value)
    if("${key}${value}" MATCHES "[\"\\\\]")
        message(FATAL_ERROR "Version string ${key} must not contain quotes or backslashes")
    endif()
endwhile()

# tamrivo_add_version_data(<target>): compiles the version resource and the application manifest
# into the Windows executable; elsewhere the banner's texts are compiled into src/platform
# (tamrivo_add_version_texts).
function(tamrivo_add_version_data target)
    if(NOT WIN32)
        return()
    endif()
    string(TOLOWER "${TAMRIVO_VERSION_LANGUAGE}${TAMRIVO_VERSION_CODE_PAGE}" TAMRIVO_STRING_TABLE_NAME)
    set(TAMRIVO_TRANSLATION "0x${TAMRIVO_VERSION_LANGUAGE}, 0x${TAMRIVO_VERSION_CODE_PAGE}")
    string(REPLACE ";" "," TAMRIVO_RC_FILE_VERSION "${TAMRIVO_FILE_VERSION}")
    string(REPLACE ";" "," TAMRIVO_RC_PRODUCT_VERSION "${TAMRIVO_PRODUCT_VERSION}")
    set(TAMRIVO_RC_STRINGS "")
    set(strings ${TAMRIVO_VERSION_STRINGS})
    while(strings)
        list(POP_FRONT strings key value)
        string(APPEND TAMRIVO_RC_STRINGS "            VALUE \"${key}\", \"${value}\"\n")
    endwhile()
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
endfunction()

# tamrivo_add_version_texts(<target>): gives a library the banner's texts as constants in the
# generated header platform/VersionTexts.h, for systems whose programs carry no version resource.
function(tamrivo_add_version_texts target)
    tamrivo_version_string(OriginalFilename TAMRIVO_ORIGINAL_FILENAME)
    tamrivo_version_string(LegalCopyright TAMRIVO_LEGAL_COPYRIGHT)
    list(GET TAMRIVO_FILE_VERSION 0 major)
    list(GET TAMRIVO_FILE_VERSION 1 minor)
    set(TAMRIVO_BANNER_VERSION "${major}.${minor}")
    configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionTexts.h.in
        ${CMAKE_CURRENT_BINARY_DIR}/generated/platform/VersionTexts.h @ONLY)
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated)
endfunction()
