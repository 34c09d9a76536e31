# TypeloomFont.cmake - generate a font for a firmware build from a Typeloom Studio project.
#
#   include(TypeloomFont)          # or find_package(Typeloom) after installing the program
#   add_executable(firmware main.c)
#   typeloom_add_font(firmware PROJECT fonts/Small12h.tlf FORMAT table-c)
#
# typeloom_add_font(<target> PROJECT <project.tlf> FORMAT <name>
#                   [DATA_FORMAT <word> | PRESET <name>] [OUTPUT <file>]
#                   [TABLES <list>] [DATE <YYYY-MM-DD|none>] [OPTIONS <arguments>...])
#
# Adds a custom command that runs `typeloom export` on the project whenever the project (or
# the typeloom program) changes, and adds the generated file to <target>'s sources. For the C
# formats that include a header of ours (table-c, studio-c: tlmtype.h; general-c: tlmfont.h)
# the header is written beside the file and that folder joins the target's include path, so
# the target's own code can include it too.
#
#   PROJECT      the project file (relative paths start in the current source folder)
#   FORMAT       an export format name of `typeloom export --help` (table-c, general-c, ...)
#   DATA_FORMAT  the data-format word (for instance 0x01121110); PRESET a layout preset name
#                of `typeloom export --help` instead
#   OUTPUT       the generated file (default: <current binary folder>/<project name>.<ext>);
#                the table and record names follow its name: fontSmall12h for Small12h.c
#   TABLES       the optional tables, as `--tables` takes them (offset,width,ascii,extended)
#   DATE         the date of the header comment; without it SOURCE_DATE_EPOCH (when the
#                build's environment sets it) or the time of the run
#   OPTIONS      any other arguments of `typeloom export` (--uchar, --c99, --unit 16, ...)
#
# The export never reads the desktop program's settings: a build gives the same file on
# every machine, whatever its user chose in the desktop application. Options not given take
# the program's defaults (big endian, row based, row preferred, unpacked, 8 bits; every
# table).
#
# TYPELOOM_EXECUTABLE names the program; by default the `typeloom` target of the same build,
# else the program installed beside this file, else the one on the PATH.

include_guard(GLOBAL)

set(_typeloom_module_dir "${CMAKE_CURRENT_LIST_DIR}")

function(_typeloom_find_program out)
    if(TYPELOOM_EXECUTABLE)
        set(${out} "${TYPELOOM_EXECUTABLE}" PARENT_SCOPE)
    elseif(TARGET typeloom)
        set(${out} "$<TARGET_FILE:typeloom>" PARENT_SCOPE)
    else()
        # Installed: <prefix>/lib/cmake/Typeloom/TypeloomFont.cmake beside <prefix>/bin.
        get_filename_component(prefix "${_typeloom_module_dir}/../../.." ABSOLUTE)
        find_program(TYPELOOM_EXECUTABLE typeloom HINTS "${prefix}/bin" REQUIRED)
        set(${out} "${TYPELOOM_EXECUTABLE}" PARENT_SCOPE)
    endif()
endfunction()

function(typeloom_add_font target)
    cmake_parse_arguments(PARSE_ARGV 1 arg ""
        "PROJECT;FORMAT;DATA_FORMAT;PRESET;OUTPUT;TABLES;DATE" "OPTIONS")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "typeloom_add_font: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT TARGET ${target})
        message(FATAL_ERROR "typeloom_add_font: ${target} is not a target")
    endif()
    if(NOT arg_PROJECT OR NOT arg_FORMAT)
        message(FATAL_ERROR "typeloom_add_font: PROJECT and FORMAT are required")
    endif()
    if(arg_DATA_FORMAT AND arg_PRESET)
        message(FATAL_ERROR "typeloom_add_font: give DATA_FORMAT or PRESET, not both")
    endif()

    get_filename_component(project "${arg_PROJECT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    if(NOT EXISTS "${project}")
        message(FATAL_ERROR "typeloom_add_font: no project file ${project}")
    endif()

    # The extension a format's file takes, as the desktop program suggests it.
    set(c_formats table-c studio-c general-c microchip-c v2-c)
    set(extension "${arg_FORMAT}")
    if(arg_FORMAT IN_LIST c_formats)
        set(extension c)
    elseif(arg_FORMAT MATCHES "-asm$")
        set(extension asm)
    elseif(arg_FORMAT MATCHES "-dat$")
        set(extension dat)
    elseif(arg_FORMAT MATCHES "-bin$")
        set(extension bin)
    endif()

    if(arg_OUTPUT)
        get_filename_component(output "${arg_OUTPUT}" ABSOLUTE
            BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
    else()
        get_filename_component(name "${project}" NAME_WE)
        set(output "${CMAKE_CURRENT_BINARY_DIR}/${name}.${extension}")
    endif()
    get_filename_component(output_dir "${output}" DIRECTORY)

    set(arguments export "${project}" -o "${output}" --format "${arg_FORMAT}")
    if(arg_DATA_FORMAT)
        list(APPEND arguments --data-format "${arg_DATA_FORMAT}")
    endif()
    if(arg_PRESET)
        list(APPEND arguments --preset "${arg_PRESET}")
    endif()
    if(arg_TABLES)
        list(APPEND arguments --tables "${arg_TABLES}")
    endif()
    if(arg_DATE)
        list(APPEND arguments --date "${arg_DATE}")
    endif()
    list(APPEND arguments ${arg_OPTIONS})

    set(outputs "${output}")
    if(arg_FORMAT STREQUAL "table-c" OR arg_FORMAT STREQUAL "studio-c")
        list(APPEND arguments --with-headers)
        list(APPEND outputs "${output_dir}/tlmtype.h")
    elseif(arg_FORMAT STREQUAL "general-c")
        list(APPEND arguments --with-headers)
        list(APPEND outputs "${output_dir}/tlmfont.h")
    endif()

    _typeloom_find_program(program)
    set(program_dependency "${program}")
    if(TARGET typeloom AND NOT TYPELOOM_EXECUTABLE)
        set(program_dependency typeloom)
    endif()

    # A settings folder of the build's own (never created): the desktop program's choices
    # stay out of the firmware.
    add_custom_command(
        OUTPUT ${outputs}
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${output_dir}"
        COMMAND "${CMAKE_COMMAND}" -E env
            "XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/typeloom-no-settings"
            "${program}" ${arguments}
        DEPENDS "${project}" ${program_dependency}
        COMMENT "Exporting ${arg_PROJECT} as ${arg_FORMAT}"
        VERBATIM)

    if(extension STREQUAL "c")
        target_sources(${target} PRIVATE "${output}")
        target_include_directories(${target} PRIVATE "${output_dir}")
    else()
        # Files that are not C sources (assembler, binary, HEX) are built with the target and
        # left for its own rules to use.
        string(MAKE_C_IDENTIFIER "${target}_${output}" helper)
        add_custom_target(${helper} DEPENDS ${outputs})
        add_dependencies(${target} ${helper})
    endif()
endfunction()
