# The catalogue's rows are data (resources/catalogue.txt, which `patchkit next-version` edits);
# this file checks them and writes the C++ tables the patch room compiles. A malformed line stops
# the configuration with its line number, so the build never carries a row it did not read whole.

get_filename_component(UPDATER_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(UPDATER_CATALOGUE_FILE ${UPDATER_SOURCE_DIR}/resources/catalogue.txt)

# The letters a title may hold beyond ASCII, and their Windows-1250 bytes.
set(updater_catalogue_letters
    "ą=B9" "ć=E6" "ę=EA" "ł=B3" "ń=F1" "ó=F3" "ś=9C" "ź=9F" "ż=BF"
    "Ą=A5" "Ć=C6" "Ę=CA" "Ł=A3" "Ń=D1" "Ó=D3" "Ś=8C" "Ź=8F" "Ż=AF")

function(updater_catalogue_fail line message)
    message(FATAL_ERROR "${UPDATER_CATALOGUE_FILE}, line ${line}:\n  ${message}")
endfunction()

# A C++ string literal of a text of the file, in Windows-1250. Each converted letter ends its
# literal, so a hex escape never runs on into the letters after it.
function(updater_catalogue_literal out text line)
    if(text MATCHES "[\"\\\\]")
        updater_catalogue_fail(${line} "\"${text}\" holds a quote or a backslash")
    endif()
    set(literal "${text}")
    foreach(pair IN LISTS updater_catalogue_letters)
        string(REPLACE "=" ";" pair "${pair}")
        list(GET pair 0 letter)
        list(GET pair 1 byte)
        string(REPLACE "${letter}" "\\x${byte}\" \"" literal "${literal}")
    endforeach()
    string(REGEX REPLACE "\\\\x[0-9A-F][0-9A-F]\" \"" "" plain "${literal}")
    if(NOT plain MATCHES "^[ -~]*$")
        updater_catalogue_fail(${line} "\"${text}\" holds a letter that Windows-1250 titles here do not use")
    endif()
    set(${out} "\"${literal}\"" PARENT_SCOPE)
endfunction()

# Reads the catalogue and writes OUT_CPP, the tables of src/patch/file_catalogue_data.h.
function(updater_generate_catalogue out_cpp)
    if(NOT CMAKE_SCRIPT_MODE_FILE)
        set_property(DIRECTORY ${UPDATER_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${UPDATER_CATALOGUE_FILE})
    endif()
    set(texts "")
    set(currents "")
    set(sizes "")
    set(crcs "")
    set(current_crcs "")
    set(expected 1)
    set(number 0)
    file(READ ${UPDATER_CATALOGUE_FILE} whole)
    string(REGEX REPLACE "\n$" "" whole "${whole}")
    string(REPLACE ";" "\\;" whole "${whole}")
    string(REPLACE "\n" ";" lines "${whole}")
    foreach(raw IN LISTS lines)
        math(EXPR number "${number} + 1")
        if(raw MATCHES "^#" OR raw MATCHES "^[ ]*$")
            continue()
        endif()
        string(REPLACE "|" ";" fields "${raw}")
        list(LENGTH fields count)
        if(NOT count EQUAL 8)
            updater_catalogue_fail(${number} "a row has 8 columns separated by |, this one ${count}")
        endif()
        set(columns "")
        foreach(field IN LISTS fields)
            string(STRIP "${field}" field)
            list(APPEND columns "${field}")
        endforeach()
        list(GET columns 0 index)
        list(GET columns 1 polish)
        list(GET columns 2 other)
        list(GET columns 3 version_text)
        list(GET columns 4 file_name)
        list(GET columns 5 part_a)
        list(GET columns 6 part_b)
        list(GET columns 7 known)
        if(NOT index STREQUAL expected)
            updater_catalogue_fail(${number} "row ${expected} expected here, not \"${index}\"")
        endif()
        if(file_name STREQUAL "" OR part_a STREQUAL "" OR part_a STREQUAL "-" OR part_b STREQUAL "")
            updater_catalogue_fail(${number} "a row names its file and part A (and part B, or -)")
        endif()
        if(part_b STREQUAL "-")
            set(part_b "")
        endif()
        foreach(name IN ITEMS part_a part_b)
            if(NOT "${${name}}" MATCHES "^[A-Z0-9_]*$")
                updater_catalogue_fail(${number} "resource name \"${${name}}\": capital letters, digits and _ only")
            endif()
        endforeach()
        set(row_sizes "")
        set(row_crcs "")
        set(current 0)
        set(current_crc "")
        string(REPLACE " " ";" versions "${known}")
        list(GET versions -1 last_entry)
        foreach(entry IN LISTS versions)
            if(entry STREQUAL "")
                continue()
            endif()
            # Rows 1 to 23 write the CRC-32 of their current version only (the last entry): the
            # probes tell their versions apart, the CRC-32 checks a new file's whole content.
            set(pattern "^([0-9]+)=([0-9]+)(/([0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F]))?$")
            if(NOT entry MATCHES "${pattern}")
                updater_catalogue_fail(${number} "\"${entry}\" is not VERSION=SIZE or VERSION=SIZE/CRC32")
            endif()
            set(version ${CMAKE_MATCH_1})
            set(size ${CMAKE_MATCH_2})
            set(crc "${CMAKE_MATCH_4}")
            if(index GREATER 23 AND crc STREQUAL "")
                updater_catalogue_fail(${number} "\"${entry}\" is not VERSION=SIZE/CRC32")
            endif()
            if(index LESS_EQUAL 23 AND NOT crc STREQUAL "" AND NOT entry STREQUAL last_entry)
                updater_catalogue_fail(${number} "\"${entry}\": rows 1 to 23 give the CRC-32 of their current version only")
            endif()
            if(NOT crc STREQUAL "")
                set(current_crc 0x${crc})
            endif()
            if(version LESS_EQUAL current OR version GREATER 11 OR size EQUAL 0 OR size GREATER 2147483647)
                updater_catalogue_fail(${number} "\"${entry}\": versions rise from 1 to 11, sizes are 1 to 2147483647")
            endif()
            # Versions that are not known in between: size 0.
            math(EXPR next "${current} + 1")
            while(next LESS version)
                list(APPEND row_sizes 0)
                list(APPEND row_crcs 0x00000000)
                math(EXPR next "${next} + 1")
            endwhile()
            list(APPEND row_sizes ${size})
            if(crc STREQUAL "" OR index LESS_EQUAL 23)
                list(APPEND row_crcs 0x00000000)
            else()
                list(APPEND row_crcs 0x${crc})
            endif()
            set(current ${version})
        endforeach()
        if(current EQUAL 0)
            updater_catalogue_fail(${number} "row ${index} lists no known version")
        endif()
        if(current_crc STREQUAL "")
            updater_catalogue_fail(${number} "row ${index} gives no CRC-32 of its current version (VERSION=SIZE/CRC32)")
        endif()
        list(LENGTH row_sizes filled)
        while(filled LESS 11)
            list(APPEND row_sizes 0)
            list(APPEND row_crcs 0x00000000)
            math(EXPR filled "${filled} + 1")
        endwhile()
        updater_catalogue_literal(polish "${polish}" ${number})
        updater_catalogue_literal(other "${other}" ${number})
        updater_catalogue_literal(version_text "${version_text}" ${number})
        updater_catalogue_literal(file_name "${file_name}" ${number})
        string(REPLACE ";" ", " row_sizes "${row_sizes}")
        string(REPLACE ";" ", " row_crcs "${row_crcs}")
        string(APPEND texts "    {${polish}, ${other}, ${version_text}, ${file_name}, {\"${part_a}\", \"${part_b}\"}},  // ${index}\n")
        string(APPEND currents "    ${current},  // ${index}\n")
        string(APPEND sizes "    {${row_sizes}},  // ${index}\n")
        string(APPEND crcs "    {${row_crcs}},  // ${index}\n")
        string(APPEND current_crcs "    ${current_crc},  // ${index}\n")
        math(EXPR expected "${expected} + 1")
    endforeach()
    if(NOT expected EQUAL 35)
        updater_catalogue_fail(${number} "the catalogue ends at row ${expected} - 1; it has rows 1 to 34")
    endif()
    file(CONFIGURE OUTPUT ${out_cpp} @ONLY CONTENT [[
// Written by cmake/catalogue.cmake from resources/catalogue.txt: edit that file, not this one.
#include "patch/file_catalogue_data.h"

namespace updater::patch::catalogue_data {

// clang-format off
const std::array<RowText, kRowCount> kTexts{{
@texts@}};

const std::array<std::int32_t, kRowCount> kCurrentVersions{{
@currents@}};

const std::array<std::array<std::int32_t, kKnownVersionCount>, kRowCount> kSizes{{
@sizes@}};

const std::array<std::array<std::uint32_t, kKnownVersionCount>, kRowCount> kCrcs{{
@crcs@}};

const std::array<std::uint32_t, kRowCount> kCurrentCrcs{{
@current_crcs@}};
// clang-format on

}  // namespace updater::patch::catalogue_data
]])
endfunction()

# The catalogue's tables for this build folder, written once per configuration: sets OUT to the
# file's path.
function(updater_catalogue_rows out)
    set(rows ${CMAKE_BINARY_DIR}/generated/patch/file_catalogue_rows.cpp)
    get_property(done GLOBAL PROPERTY UPDATER_CATALOGUE_WRITTEN)
    if(NOT done STREQUAL rows)
        updater_generate_catalogue(${rows})
        set_property(GLOBAL PROPERTY UPDATER_CATALOGUE_WRITTEN ${rows})
    endif()
    set(${out} ${rows} PARENT_SCOPE)
endfunction()
