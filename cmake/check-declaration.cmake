# Checks one build declaration as configuring a build would, without configuring one:
#   cmake -DDECLARATION=FILE [-DUPDATER_RELEASE=ON] [-DCHECKER_DIR=DIR] -P cmake/check-declaration.cmake
# CHECKER_DIR is where the host checker is built (default: build/host-check of the checkout).
include(${CMAKE_CURRENT_LIST_DIR}/declaration.cmake)
if(NOT DECLARATION)
    message(FATAL_ERROR "usage: cmake -DDECLARATION=FILE [-DUPDATER_RELEASE=ON] -P cmake/check-declaration.cmake")
endif()
if(NOT CHECKER_DIR)
    set(CHECKER_DIR ${UPDATER_SOURCE_DIR}/build/host-check)
endif()
set(CMAKE_BINARY_DIR ${CHECKER_DIR})
updater_read_declaration(${DECLARATION})
message("${UPDATER_DECLARATION_SOURCE}: OK, AppId ${UPDATER_APP_ID}, patch kind ${UPDATER_PATCH_KIND}, files ${UPDATER_ACTIVE_SET_LIST}, resources ${UPDATER_DECLARATION_RESOURCES}")
