# Runs `typeloom new` then `typeloom info` on the result and checks the figures printed:
# a font from 32 to 127 at 12 x 12 has 96 characters of fixed width 12 with ascent 10, and
# keeps the name it was given.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(out "${WORK_DIR}/out.tlf")
execute_process(COMMAND "${TYPELOOM}" new --name Demo --from 32 --to 127 --width 12 --height 12
                        -o "${out}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "typeloom new failed (${rc}): ${err}")
endif()
execute_process(COMMAND "${TYPELOOM}" info "${out}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "typeloom info failed (${rc}): ${err}")
endif()
foreach(expected
        "Name: +Demo\n"
        "Characters: +96\n"
        "Height: +12\n"
        "Ascent: +10\n"
        "Width: +fixed, 12\n"
        "Maximum width: +12\n"
        "First code: +0x0020\n"
        "Last code: +0x007F\n"
        "Encoding: +1 Unicode\n")
    if(NOT text MATCHES "${expected}")
        message(FATAL_ERROR "typeloom info output lacks '${expected}':\n${text}")
    endif()
endforeach()
message(STATUS "typeloom info:\n${text}")
