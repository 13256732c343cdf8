# Checks one build declaration as building it would, without configuring a build:
#   cmake -DDECLARATION=FILE [-DUPDATER_RELEASE=ON] [-DCHECKER_DIR=DIR] -P cmake/check-declaration.cmake
# The settings are checked here, the payloads by catalogue_tool, built for this machine in
# CHECKER_DIR (default: build/host-check of the checkout) by its own CMake build.
include(${CMAKE_CURRENT_LIST_DIR}/declaration.cmake)
if(NOT DECLARATION)
    message(FATAL_ERROR "usage: cmake -DDECLARATION=FILE [-DUPDATER_RELEASE=ON] -P cmake/check-declaration.cmake")
endif()
if(NOT CHECKER_DIR)
    set(CHECKER_DIR ${UPDATER_SOURCE_DIR}/build/host-check)
endif()
updater_read_declaration(${DECLARATION})

if(NOT EXISTS ${CHECKER_DIR}/CMakeCache.txt)
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${UPDATER_SOURCE_DIR}/tools/catalogue -B ${CHECKER_DIR}
                    RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
    if(status)
        message(FATAL_ERROR "cannot configure catalogue_tool:\n${log}")
    endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${CHECKER_DIR} RESULT_VARIABLE status OUTPUT_VARIABLE log
                ERROR_VARIABLE log)
if(status)
    message(FATAL_ERROR "cannot build catalogue_tool:\n${log}")
endif()
execute_process(COMMAND ${CHECKER_DIR}/catalogue_tool payloads ${UPDATER_SOURCE_DIR}/resources/catalogue.txt
                        ${UPDATER_DECLARATION_WHERE} ${UPDATER_DECLARATION_PAYLOADS}
                RESULT_VARIABLE status OUTPUT_VARIABLE resources ERROR_VARIABLE why
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_STRIP_TRAILING_WHITESPACE)
if(status)
    message(FATAL_ERROR "${why}")
endif()
message("${UPDATER_DECLARATION_SOURCE}: OK, AppId ${UPDATER_APP_ID}, patch kind ${UPDATER_PATCH_KIND}, files ${UPDATER_ACTIVE_SET_LIST}, resources ${resources}")
