# Fails, listing the files, when any C++ source of the project differs from what clang-format
# makes of it.
file(GLOB_RECURSE files
    ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
    ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h ${ROOT}/samples/*.cpp ${ROOT}/samples/*.h
    ${ROOT}/data/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
    RESULT_VARIABLE result ERROR_VARIABLE diagnostics)
if(NOT result EQUAL 0)
    string(REGEX MATCHALL "[^\n]*: error: code should be clang-formatted" lines "${diagnostics}")
    list(TRANSFORM lines REPLACE ":[0-9]+:[0-9]+: error: code should be clang-formatted" "")
    list(REMOVE_DUPLICATES lines)
    list(JOIN lines "\n" names)
    message(FATAL_ERROR "Not formatted (run clang-format -i on them):\n${names}")
endif()
