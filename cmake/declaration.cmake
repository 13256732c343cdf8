# Build declarations: one small file per updater of the family (builds/*.cmake) says everything
# that build is: the product's AppId and version, the patch kind, the active file indices with
# their payloads, the configured catalogue row and the build settings. This file checks a
# declaration's settings when the build is configured and turns it into the build's constants
# (app/this_build.h, from src/app/build/this_build.h.in); its payloads are checked against the
# catalogue by catalogue_tool (cmake/catalogue.cmake) as the resources that carry them are written.
#
# A declaration sets, in its own scope:
#   APP_ID                    1..14 (another value only with ALLOW_UNKNOWN_APP_ID, for tests)
#   VERSION                   major, minor and the fourth identity value, for example 2 5 1
#   PATCH_KIND                4: browse for the program; 4, 5: no English flag; 6, 9: shortcuts
#   ACTIVE_SET                the file indices (1..34) the update run processes
#   CONFIGURED_ENTRY          the catalogue row whose title and version the window shows (1..34)
#   UPDATE_DICTIONARIES       ON: run the dictionary step (needs the script among EXTRA_RESOURCES)
#   SPECIAL_VERSION           ON: show the special-version label
#   SPECIAL_VERSION_TEXT      its text, scrambled, in hex: patchkit kod encode APP_ID 6 0 HEX,
#                             where HEX is the text's Windows-1250 bytes
#   PREFER_PRODUCT_LANGUAGE   ON: start in the product's language on a system of another
#   PAYLOADS_<INDEX>          for each active index: its part A payload, then part B if the row has
#                             one (paths relative to the source folder)
#   EXTRA_RESOURCES           NAME=PATH pairs carried beside the payloads (the dictionary script)

get_filename_component(UPDATER_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
# A refusal names the declaration, then the reason on an indented line (CMake wraps other lines).

# Makes the configuration depend on a file (not in script mode, where nothing is configured).
function(updater_declaration_depends)
    if(NOT CMAKE_SCRIPT_MODE_FILE)
        set_property(DIRECTORY ${UPDATER_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARGN})
    endif()
endfunction()

# updater_read_declaration(FILE): reads and checks the declaration FILE, stopping with a message
# that names the declaration and what is wrong. Leaves, in the caller's scope, the values the
# build's constants are made from (UPDATER_* below), UPDATER_DECLARATION_WHERE (how a refusal
# names it), UPDATER_DECLARATION_PAYLOADS (catalogue_tool's arguments for its resources) and
# UPDATER_DECLARATION_FILES (the files they name). Works in script mode too:
#   cmake -DDECLARATION=FILE [-DUPDATER_RELEASE=ON] -P cmake/check-declaration.cmake
function(updater_read_declaration file)
    if(NOT IS_ABSOLUTE ${file})
        set(file ${UPDATER_SOURCE_DIR}/${file})
    endif()
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "build declaration ${file}: no such file")
    endif()
    updater_declaration_depends(${file})
    set(UPDATE_DICTIONARIES OFF)
    set(SPECIAL_VERSION OFF)
    set(SPECIAL_VERSION_TEXT "")
    set(PREFER_PRODUCT_LANGUAGE OFF)
    set(ALLOW_UNKNOWN_APP_ID OFF)
    set(EXTRA_RESOURCES "")
    include(${file})
    file(RELATIVE_PATH shown ${UPDATER_SOURCE_DIR} ${file})
    if(shown MATCHES "^\\.\\./")
        set(shown ${file})
    endif()
    set(where "build declaration ${shown}")

    foreach(required APP_ID VERSION PATCH_KIND ACTIVE_SET CONFIGURED_ENTRY)
        if(NOT DEFINED ${required} OR "${${required}}" STREQUAL "")
            message(FATAL_ERROR "${where}:\n  ${required} is not set")
        endif()
    endforeach()
    foreach(number APP_ID PATCH_KIND CONFIGURED_ENTRY)
        if(NOT "${${number}}" MATCHES "^-?[0-9]+$")
            message(FATAL_ERROR "${where}:\n  ${number} is '${${number}}', not a whole number")
        endif()
    endforeach()
    if(APP_ID LESS 1 OR APP_ID GREATER 14)
        if(NOT ALLOW_UNKNOWN_APP_ID)
            message(FATAL_ERROR "${where}:\n  APP_ID ${APP_ID} is outside 1..14; no product of the family has it")
        elseif(UPDATER_RELEASE)
            message(FATAL_ERROR "${where}:\n  APP_ID ${APP_ID} is outside 1..14; a release is never made for it")
        endif()
    endif()
    list(LENGTH VERSION version_count)
    if(NOT version_count EQUAL 3)
        message(FATAL_ERROR "${where}:\n  VERSION must be three numbers (major minor fourth), not '${VERSION}'")
    endif()
    list(GET VERSION 0 UPDATER_VERSION_MAJOR)
    list(GET VERSION 1 UPDATER_VERSION_MINOR)
    list(GET VERSION 2 UPDATER_VERSION_EXTRA)
    foreach(part UPDATER_VERSION_MAJOR UPDATER_VERSION_MINOR UPDATER_VERSION_EXTRA)
        if(NOT "${${part}}" MATCHES "^[0-9]+$")
            message(FATAL_ERROR "${where}:\n  VERSION must be three numbers (major minor fourth), not '${VERSION}'")
        endif()
    endforeach()
    if(CONFIGURED_ENTRY LESS 1 OR CONFIGURED_ENTRY GREATER 34)
        message(FATAL_ERROR "${where}:\n  CONFIGURED_ENTRY ${CONFIGURED_ENTRY} is outside 1..34, the catalogue's rows")
    endif()

    # catalogue_tool's arguments: --file INDEX PAYLOAD... for each active file (part A, then part B
    # where the row has one), --extra NAME FILE for each extra resource.
    set(payloads "")
    set(files ${file} ${UPDATER_SOURCE_DIR}/resources/catalogue.txt)
    list(REMOVE_DUPLICATES ACTIVE_SET)
    foreach(index IN LISTS ACTIVE_SET)
        if(NOT index MATCHES "^[0-9]+$" OR index LESS 1 OR index GREATER 34)
            message(FATAL_ERROR "${where}:\n  ACTIVE_SET holds '${index}', not a file index 1..34")
        endif()
        list(APPEND payloads --file ${index})
        foreach(p IN LISTS PAYLOADS_${index})
            if(NOT IS_ABSOLUTE ${p})
                set(p ${UPDATER_SOURCE_DIR}/${p})
            endif()
            list(APPEND payloads ${p})
            list(APPEND files ${p})
        endforeach()
    endforeach()
    foreach(pair IN LISTS EXTRA_RESOURCES)
        if(NOT pair MATCHES "^([A-Z0-9_]+)=(.+)$")
            message(FATAL_ERROR "${where}:\n  EXTRA_RESOURCES holds '${pair}', not NAME=PATH")
        endif()
        set(p ${CMAKE_MATCH_2})
        if(NOT IS_ABSOLUTE ${p})
            set(p ${UPDATER_SOURCE_DIR}/${p})
        endif()
        if(NOT EXISTS ${p})
            message(FATAL_ERROR "${where}:\n  the resource ${CMAKE_MATCH_1} names ${p}, which does not exist")
        endif()
        list(APPEND payloads --extra ${CMAKE_MATCH_1} ${p})
        list(APPEND files ${p})
    endforeach()
    set(UPDATER_DECLARATION_WHERE "${where}" PARENT_SCOPE)
    set(UPDATER_DECLARATION_PAYLOADS ${payloads} PARENT_SCOPE)
    set(UPDATER_DECLARATION_FILES ${files} PARENT_SCOPE)

    # The values of the constants.
    set(UPDATER_DECLARATION_SOURCE ${shown} PARENT_SCOPE)
    set(UPDATER_APP_ID ${APP_ID} PARENT_SCOPE)
    set(UPDATER_PATCH_KIND ${PATCH_KIND} PARENT_SCOPE)
    set(UPDATER_CONFIGURED_ENTRY ${CONFIGURED_ENTRY} PARENT_SCOPE)
    foreach(part UPDATER_VERSION_MAJOR UPDATER_VERSION_MINOR UPDATER_VERSION_EXTRA)
        set(${part} ${${part}} PARENT_SCOPE)
    endforeach()
    list(JOIN ACTIVE_SET ", " active)
    set(UPDATER_ACTIVE_SET_LIST ${active} PARENT_SCOPE)
    set(UPDATER_UPDATE_DICTIONARIES ${UPDATE_DICTIONARIES} PARENT_SCOPE)
    foreach(flag UPDATE_DICTIONARIES SPECIAL_VERSION PREFER_PRODUCT_LANGUAGE)
        if(${flag})
            set(UPDATER_${flag}_CXX true PARENT_SCOPE)
        else()
            set(UPDATER_${flag}_CXX false PARENT_SCOPE)
        endif()
    endforeach()
    # The scrambled text, given in hex, goes into a C++ string literal byte for byte.
    string(LENGTH "${SPECIAL_VERSION_TEXT}" digits)
    math(EXPR odd "${digits} % 2")
    if(odd OR NOT SPECIAL_VERSION_TEXT MATCHES "^[0-9A-Fa-f]*$")
        message(FATAL_ERROR "${where}:\n  SPECIAL_VERSION_TEXT must be hex bytes (patchkit kod encode ${APP_ID} 6 0 HEX)")
    endif()
    string(REGEX REPLACE "([0-9A-Fa-f][0-9A-Fa-f])" "\\\\x\\1" text "${SPECIAL_VERSION_TEXT}")
    set(UPDATER_SPECIAL_VERSION_TEXT_CXX "${text}" PARENT_SCOPE)
endfunction()


# updater_declaration(NAME FILE): checks the declaration FILE and makes the library
# updater_build_NAME (the constants: app/this_build.h and ConfigureThisBuild). Sets, in the
# caller's scope, UPDATER_BUILD_<NAME>_WHERE, _PAYLOADS and _FILES (for updater_embed_payloads)
# and UPDATER_BUILD_<NAME>_UPDATE_DICTIONARIES.
function(updater_declaration name file)
    updater_read_declaration(${file})
    set(gen ${CMAKE_BINARY_DIR}/generated/build_${name})
    configure_file(${UPDATER_SOURCE_DIR}/src/app/build/this_build.h.in ${gen}/app/this_build.h @ONLY)

    add_library(updater_build_${name} STATIC ${UPDATER_SOURCE_DIR}/src/app/build/this_build.cpp)
    target_include_directories(updater_build_${name} PUBLIC ${gen})
    target_link_libraries(updater_build_${name} PUBLIC updater_app)
    updater_warnings(updater_build_${name})

    foreach(part WHERE PAYLOADS FILES)
        set(UPDATER_BUILD_${name}_${part} "${UPDATER_DECLARATION_${part}}" PARENT_SCOPE)
    endforeach()
    set(UPDATER_BUILD_${name}_UPDATE_DICTIONARIES ${UPDATER_UPDATE_DICTIONARIES} PARENT_SCOPE)
endfunction()
