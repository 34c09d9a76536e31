# The programs cannot work without the double-byte code tables: a missing or damaged data file
# must end them at start with a message naming the file and exit status 1.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/missing" "${WORK_DIR}/damaged")

function(expect_refusal dir what)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env "TYPELOOM_DATA_DIR=${dir}" "${TYPELOOM}" --help
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 1)
        message(FATAL_ERROR "${what}: exit status ${rc}, expected 1")
    endif()
    if(NOT err MATCHES "typeloom-dbcs.dat")
        message(FATAL_ERROR "${what}: the message does not name the file: ${err}")
    endif()
endfunction()

expect_refusal("${WORK_DIR}/missing" "missing file")

# A truncated copy of the real file.
file(SIZE "${DATA_FILE}" size)
math(EXPR keep "${size} - 7")
file(COPY_FILE "${DATA_FILE}" "${WORK_DIR}/damaged/typeloom-dbcs.dat")
execute_process(COMMAND truncate -s ${keep} "${WORK_DIR}/damaged/typeloom-dbcs.dat")
expect_refusal("${WORK_DIR}/damaged" "truncated file")
