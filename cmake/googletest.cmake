# GoogleTest and GoogleMock for the tests, found with find_package. Natively they are Debian's
# builds (libgtest-dev, libgmock-dev). For Windows Debian ships only their sources (googletest),
# so each Windows build folder builds them once, at its first configure, with the same toolchain
# and processor floor, and installs them inside itself for find_package to find.
if(NOT CMAKE_CROSSCOMPILING)
    find_package(GTest REQUIRED)
    return()
endif()

set(googletest_prefix ${CMAKE_BINARY_DIR}/googletest)
if(NOT EXISTS ${googletest_prefix}/lib/cmake/GTest/GTestConfig.cmake)
    message(STATUS "Building GoogleTest for ${CMAKE_SYSTEM_PROCESSOR} from /usr/src/googletest")
    string(JOIN " " googletest_flags ${UPDATER_TARGET_OPTIONS} -D_WIN32_WINNT=${UPDATER_WIN32_WINNT})
    # A toolchain named on the command line may be relative to the build folder or the source tree.
    set(toolchain ${CMAKE_TOOLCHAIN_FILE})
    if(NOT IS_ABSOLUTE ${toolchain})
        if(EXISTS ${CMAKE_BINARY_DIR}/${toolchain})
            set(toolchain ${CMAKE_BINARY_DIR}/${toolchain})
        else()
            set(toolchain ${PROJECT_SOURCE_DIR}/${toolchain})
        endif()
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -S /usr/src/googletest -B ${googletest_prefix}-build
                --toolchain ${toolchain} -DCMAKE_BUILD_TYPE=Release
                -DCMAKE_INSTALL_PREFIX=${googletest_prefix} -DBUILD_GMOCK=ON
                "-DCMAKE_CXX_FLAGS=${googletest_flags}"
        OUTPUT_FILE ${googletest_prefix}-configure.log ERROR_FILE ${googletest_prefix}-configure.log
        RESULT_VARIABLE status)
    if(status EQUAL 0)
        include(ProcessorCount)
        ProcessorCount(cores)
        execute_process(COMMAND ${CMAKE_COMMAND} --build ${googletest_prefix}-build --target install -j${cores}
                        OUTPUT_FILE ${googletest_prefix}-build.log ERROR_FILE ${googletest_prefix}-build.log
                        RESULT_VARIABLE status)
    endif()
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "GoogleTest did not build for Windows: see ${googletest_prefix}-*.log")
    endif()
endif()
find_package(GTest REQUIRED CONFIG PATHS ${googletest_prefix} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
