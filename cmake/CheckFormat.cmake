# Fails when a source file of the project does not follow .clang-format.
# Usage: cmake -DROOT=<project root> -DCLANG_FORMAT=<program> -P CheckFormat.cmake
file(GLOB_RECURSE sources LIST_DIRECTORIES false "${ROOT}/*.h" "${ROOT}/*.cpp")
list(FILTER sources EXCLUDE REGEX "^${ROOT}/(build[^/]*|\\.git)/")
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${sources}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "clang-format: files above need formatting (run scripts/format)")
endif()
list(LENGTH sources count)
message(STATUS "Format: ${count} files follow .clang-format")
