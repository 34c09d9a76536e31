# Runs one fuzz harness for a short while: a fresh, empty working corpus first (libFuzzer
# writes new inputs there) and the committed seed folder second (only read).
#
#   cmake -DHARNESS=... -DSEED_DIR=... -DWORK_DIR=... -DARTIFACT_DIR=... -DSECONDS=20
#         -P run_smoke.cmake
#
# With -DREPLAY_VIA_CLI=ON it instead runs every seed once through the command-line tool.

if(REPLAY_VIA_CLI)
    set(SECONDS 0)
endif()
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

if(REPLAY_VIA_CLI)
    # Each seed once, through the command-line tool; nothing new is searched for.
    set(mode --via-cli -runs=0)
else()
    set(mode -max_total_time=${SECONDS})
endif()

execute_process(
    COMMAND "${HARNESS}"
        ${mode}
        # A file of a few hundred bytes must not make a reader allocate a gigabyte: the
        # largest font the readers accept (128 Mi pixels) fits in this limit.
        -rss_limit_mb=512
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
