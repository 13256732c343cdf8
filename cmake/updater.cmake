# Shared build helpers: warnings, rooms (one static library per source folder), test executables,
# fuzz targets and the embedding of payload resources.

function(updater_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    # GCC 12 reports -Wrestrict inside libstdc++'s own string concatenation ("x" + std::string) at
    # -O2 and above (GCC bug 105329), a false alarm that no change to our code can silence.
    target_compile_options(${target} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
endfunction()

# A room is one folder of src/ as one static library: its PORTABLE sources, plus its WINDOWS
# sources (win32/) on Windows or its POSIX sources (posix/) elsewhere, each named relative to the
# folder. Headers are included as "room/file.h".
function(updater_room name dir)
    cmake_parse_arguments(PARSE_ARGV 2 room "" "" "PORTABLE;WINDOWS;POSIX")
    updater_platform_sources(sources ${CMAKE_CURRENT_SOURCE_DIR}/${dir} "${room_PORTABLE}" "${room_WINDOWS}"
                             "${room_POSIX}")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    updater_warnings(${name})
endfunction()

# One test executable per folder of tests/, linking LINKS: PORTABLE sources everywhere, WINDOWS
# sources on Windows only, POSIX sources natively only. Each executable is one process (one Wine
# start on Windows).
function(updater_room_tests name dir)
    cmake_parse_arguments(PARSE_ARGV 2 room "" "" "LINKS;PORTABLE;WINDOWS;POSIX")
    updater_platform_sources(sources ${CMAKE_CURRENT_SOURCE_DIR}/${dir} "${room_PORTABLE}" "${room_WINDOWS}"
                             "${room_POSIX}")
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${room_LINKS} updater_test_support GTest::gmock GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tools
                                               ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE UPDATER_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    updater_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
endfunction()

# out = the portable sources and this platform's, as full paths under dir.
function(updater_platform_sources out dir portable windows posix)
    set(sources ${portable})
    if(WIN32)
        list(APPEND sources ${windows})
    else()
        list(APPEND sources ${posix})
    endif()
    list(TRANSFORM sources PREPEND ${dir}/)
    set(${out} ${sources} PARENT_SCOPE)
endfunction()

# A fuzz target: tests/fuzz/<name>_fuzz.cpp defines LLVMFuzzerTestOneInput. With UPDATER_FUZZ it
# becomes a libFuzzer binary; in every other build it becomes <name>_corpus_replay, an ordinary
# test that feeds it every file of tests/fuzz/corpus/<name>/ (seeds and past crashes).
function(updater_fuzz_target name)
    set(source ${PROJECT_SOURCE_DIR}/tests/fuzz/${name}_fuzz.cpp)
    set(corpus ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name})
    if(UPDATER_FUZZ)
        add_executable(${name}_fuzz ${source})
        target_compile_options(${name}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    else()
        add_executable(${name}_corpus_replay ${source} ${PROJECT_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
        add_test(NAME ${name}_corpus_replay COMMAND ${name}_corpus_replay ${corpus})
        set(name ${name}_corpus_replay)
    endif()
    if(UPDATER_FUZZ)
        set(name ${name}_fuzz)
    endif()
    target_link_libraries(${name} PRIVATE ${ARGN})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tools)
    updater_warnings(${name})
endfunction()

# The payload resources of the build declared as BUILD (updater_declaration) carried by a
# program: catalogue_tool checks them against the catalogue and writes them as RCDATA resources of
# the program's own module on Windows, natively as a table that the embedded resource source reads,
# so tools and tests see the same bytes.
function(updater_embed_payloads target build)
    set(gen ${CMAKE_BINARY_DIR}/generated/${target})
    if(WIN32)
        set(outputs ${gen}/payloads.rc)
        set(format --rc ${outputs})
    else()
        set(outputs ${gen}/payloads.S ${gen}/payload_table.cpp)
        set(format --asm ${outputs})
    endif()
    add_custom_command(OUTPUT ${outputs}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}
                       COMMAND ${UPDATER_CATALOGUE_TOOL} payloads ${UPDATER_CATALOGUE_FILE}
                               "${UPDATER_BUILD_${build}_WHERE}" ${format} ${UPDATER_BUILD_${build}_PAYLOADS}
                       DEPENDS ${UPDATER_BUILD_${build}_FILES} ${UPDATER_CATALOGUE_TOOL} catalogue_tool
                       COMMENT "Checking the payloads of ${target} and writing its resources" VERBATIM)
    target_sources(${target} PRIVATE ${outputs})
endfunction()

# A program a user may start from a folder others can write to (Downloads) begins at an entry that
# restricts the DLL search to System32 before the C runtime starts (src/base/win32/dll_search.h).
# With WITHOUT_DEFAULT_DLL_DIRECTORIES (a windowed test probe only) the entry plays a Windows 7
# without the loader update.
function(updater_restrict_dll_search target)
    cmake_parse_arguments(PARSE_ARGV 1 restrict "WITHOUT_DEFAULT_DLL_DIRECTORIES" "" "")
    get_target_property(windowed ${target} WIN32_EXECUTABLE)
    if(restrict_WITHOUT_DEFAULT_DLL_DIRECTORIES)
        set(entry UpdaterWindowsEntryWithoutDefaultDllDirectories)
    elseif(windowed)
        set(entry UpdaterWindowsEntry)
    else()
        set(entry UpdaterConsoleEntry)
    endif()
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(PREPEND entry _)  # 32-bit x86 gives C names a leading underscore
    endif()
    target_link_libraries(${target} PRIVATE updater_base)
    # --undefined pulls the entry out of the static library; --entry makes it the program's start.
    target_link_options(${target} PRIVATE -Wl,--undefined=${entry} -Wl,--entry=${entry})
endfunction()
