# Runs one fuzz harness for a short while: a fresh, empty working corpus first (libFuzzer
# writes new inputs there) and the committed seed folder second (only read).
#
#   cmake -DHARNESS=... -DSEED_DIR=... -DWORK_DIR=... -DARTIFACT_DIR=... -DSECONDS=20
#         -P run_smoke.cmake

foreach(var HARNESS SEED_DIR WORK_DIR ARTIFACT_DIR SECONDS)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "run_smoke.cmake needs -D${var}=...")
    endif()
endforeach()
if(NOT IS_DIRECTORY "${SEED_DIR}")
    message(FATAL_ERROR "seed folder ${SEED_DIR} is missing")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}" "${ARTIFACT_DIR}")

execute_process(
    COMMAND "${HARNESS}"
        -max_total_time=${SECONDS}
        -rss_limit_mb=2048
        -max_len=65536
        # One input running this long is a hang; stop well before CTest's own timeout so
        # that the input is saved.
        -timeout=60
        -print_final_stats=1
        "-artifact_prefix=${ARTIFACT_DIR}/"
        "${WORK_DIR}" "${SEED_DIR}"
    RESULT_VARIABLE status)

if(NOT status EQUAL 0)
    message(FATAL_ERROR "${HARNESS} failed (${status}); the failing input is in ${ARTIFACT_DIR}")
endif()
