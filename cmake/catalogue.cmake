# The catalogue's rows are data (resources/catalogue.txt, which `patchkit next-version` edits).
# One program reads them: catalogue_tool (tools/catalogue), built for this machine first, as a
# cross build builds its generators. It writes the C++ tables the patch room compiles and checks
# each declaration's payloads against the rows while writing the resources that carry them. A
# malformed line stops the build with its line number, so the build never carries a row it did
# not read whole.

include(ExternalProject)
get_filename_component(UPDATER_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(UPDATER_CATALOGUE_FILE ${UPDATER_SOURCE_DIR}/resources/catalogue.txt)
set(UPDATER_CATALOGUE_TOOL ${CMAKE_BINARY_DIR}/host/catalogue_tool)

# With the host's compiler, whatever this build's toolchain. Its own build runs every time and
# relinks the tool only when one of its sources or their headers changed, so the commands below
# rerun exactly then.
ExternalProject_Add(catalogue_tool
    SOURCE_DIR ${UPDATER_SOURCE_DIR}/tools/catalogue
    BINARY_DIR ${CMAKE_BINARY_DIR}/host
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${UPDATER_CATALOGUE_TOOL})

# The catalogue's tables (src/patch/file_catalogue_data.h): sets OUT to the file's path. Called in
# the folder of the target that compiles it.
function(updater_catalogue_rows out)
    set(rows ${CMAKE_BINARY_DIR}/generated/patch/file_catalogue_rows.cpp)
    add_custom_command(OUTPUT ${rows}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated/patch
                       COMMAND ${UPDATER_CATALOGUE_TOOL} rows ${UPDATER_CATALOGUE_FILE} ${rows}
                       DEPENDS ${UPDATER_CATALOGUE_FILE} ${UPDATER_CATALOGUE_TOOL} catalogue_tool
                       COMMENT "Writing the catalogue's tables from resources/catalogue.txt" VERBATIM)
    set(${out} ${rows} PARENT_SCOPE)
endfunction()
