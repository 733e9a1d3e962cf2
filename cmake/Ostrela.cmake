# Helpers that keep every folder's CMakeLists.txt to a few lines.
include(GoogleTest)

function(ostrela_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(OSTRELA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(OSTRELA_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=${OSTRELA_SANITIZE} -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=${OSTRELA_SANITIZE})
    endif()
endfunction()

# ostrela_library(NAME SOURCES ... DEPENDS ... [PRIVATE_DEPENDS ...])
function(ostrela_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
    ostrela_warnings(${name})
endfunction()

# ostrela_test(NAME PREFIX SOURCES ... DEPENDS ... [GUI] [ENVIRONMENT VAR=VALUE ...])
# One test program per folder; GUI programs get the Qt offscreen main.
function(ostrela_test name)
    cmake_parse_arguments(ARG "GUI" "PREFIX" "SOURCES;DEPENDS;ENVIRONMENT" ${ARGN})
    if(ARG_GUI)
        set(main_target ostrela_gui_test_main)
    else()
        set(main_target ostrela_test_main)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} ${main_target} ostrela_test_support
                                          GTest::gtest GTest::gmock)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
    ostrela_warnings(${name})
    gtest_discover_tests(${name} TEST_PREFIX "${ARG_PREFIX}." DISCOVERY_MODE PRE_TEST
                         WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/tests"
                         PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
endfunction()

# The environment of test programs that load and unload FFmpeg. The libraries
# keep a few allocations that nothing frees once they are unloaded, and a
# leak inside an unloaded library has no frames a suppression could match:
# under the address sanitizer those programs run without leak detection.
set(OSTRELA_FFMPEG_TEST_ENV "")
if(OSTRELA_SANITIZE MATCHES "address")
    set(OSTRELA_FFMPEG_TEST_ENV "ASAN_OPTIONS=detect_leaks=0")
endif()

# ostrela_benchmark(NAME SOURCES ... DEPENDS ...): built, never run by CTest.
function(ostrela_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/benchmarks")
    ostrela_warnings(${name})
endfunction()
