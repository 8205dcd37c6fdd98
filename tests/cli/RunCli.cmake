# Runs glyfora-cli once and checks what it did. Called as
#   cmake -DCLI=... -DARGS=a|b|c -DEXPECT_EXIT=n [-DGOLDEN=file] [-DSTDOUT_MATCH=regex]
#         [-DSTDERR_MATCH=regex] [-DSTDERR_EMPTY=ON] [-DJSON=ON] -P RunCli.cmake
# ARGS uses "|" between arguments so that a list survives the command line.
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND "${CLI}" ${arguments}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)

if(NOT status STREQUAL EXPECT_EXIT)
    message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED GOLDEN)
    file(READ "${GOLDEN}" expected)
    if(NOT out STREQUAL expected)
        message(FATAL_ERROR "stdout differs from ${GOLDEN}:\n${out}")
    endif()
endif()
if(DEFINED STDOUT_MATCH AND NOT out MATCHES "${STDOUT_MATCH}")
    message(FATAL_ERROR "stdout does not match \"${STDOUT_MATCH}\":\n${out}")
endif()
# A long import reports its progress once a second; on a slow machine even a short one may, and
# progress is no message.
string(REGEX REPLACE "glyfora-cli import: [0-9]+% \\([0-9]+ of [0-9]+ glyph steps\\)\n" ""
    messages "${err}")
if(DEFINED STDERR_MATCH AND NOT messages MATCHES "${STDERR_MATCH}")
    message(FATAL_ERROR "stderr does not match \"${STDERR_MATCH}\":\n${err}")
endif()
if(STDERR_EMPTY AND NOT messages STREQUAL "")
    message(FATAL_ERROR "stderr is not empty:\n${err}")
endif()
if(JSON)
    string(JSON type ERROR_VARIABLE jsonError TYPE "${out}")
    if(jsonError)
        message(FATAL_ERROR "stdout is not JSON (${jsonError}):\n${out}")
    endif()
endif()
