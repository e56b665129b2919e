# Regenerates every picture source in this folder and compares the result with
# the committed .bmp (and .ico), and checks each BMP header against the sizes
# the game expects.
#
#   cmake -DBMPGEN=path/to/bmpgen -DART_DIR=path/to/art -DWORK_DIR=scratch -P check_art.cmake
#
# With -DUPDATE=ON the committed .bmp/.ico files are rewritten from the
# sources instead (the `art` build target does this).

cmake_minimum_required(VERSION 3.25)

foreach(var BMPGEN ART_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "check_art.cmake: -D${var}=... is required")
    endif()
endforeach()

# name, width, height, bits per pixel
set(EXPECTED
    villager        73  86 24
    villager_small  69  81  8
    oldman          65  85  8
    castle          47  49 24
    demonking       60  90  8
    close_glyph     36  18  4
    castle_icon     32  32  4
    teacher         62  70  8
    slime           45  35  8
    princess        40  55  8
    swordsman       55  65  8
    shopkeeper      65  65  8
    balloon        100 100  4
    balloon_en     100 100  4
    farmer          72  82  8
    dragonbrother   72  62  8
)
# Pictures that are also written as a Windows icon.
set(ICONS castle_icon)

set(problems "")
macro(problem text)
    list(APPEND problems "${text}")
endmacro()

# Little-endian unsigned integer of `size` bytes at byte `offset` of a hex dump.
function(read_le hex offset size out)
    set(digits "")
    math(EXPR last "${size} - 1")
    foreach(i RANGE ${last})
        math(EXPR pos "(${offset} + ${i}) * 2")
        string(SUBSTRING "${hex}" ${pos} 2 byte)
        string(PREPEND digits "${byte}")
    endforeach()
    math(EXPR value "0x${digits}")
    set(${out} ${value} PARENT_SCOPE)
endfunction()

# Each further argument is "what|got|want"; a line for each that differs.
function(compare_fields file out)
    set(errors "")
    foreach(check IN LISTS ARGN)
        string(REPLACE "|" ";" check "${check}")
        list(GET check 0 what)
        list(GET check 1 got)
        list(GET check 2 want)
        if(NOT got STREQUAL want)
            list(APPEND errors "${file}: ${what} is ${got}, expected ${want}")
        endif()
    endforeach()
    set(${out} "${errors}" PARENT_SCOPE)
endfunction()

function(check_bmp_header file width height bits out)
    set(errors "")
    file(SIZE "${file}" actual_size)
    if(actual_size LESS 54)
        set(${out} "${file}: too short for a BMP (${actual_size} bytes)" PARENT_SCOPE)
        return()
    endif()
    file(READ "${file}" hex LIMIT 54 HEX)
    string(SUBSTRING "${hex}" 0 4 signature)
    read_le("${hex}" 2 4 bf_size)
    read_le("${hex}" 10 4 bits_offset)
    read_le("${hex}" 14 4 info_size)
    read_le("${hex}" 18 4 bi_width)
    read_le("${hex}" 22 4 bi_height)
    read_le("${hex}" 28 2 bi_bits)
    read_le("${hex}" 30 4 compression)
    read_le("${hex}" 46 4 colours_used)

    if(bits EQUAL 24)
        set(entries 0)
    else()
        math(EXPR entries "1 << ${bits}")
    endif()
    math(EXPR stride "(${width} * ${bits} + 31) / 32 * 4")
    math(EXPR want_offset "54 + ${entries} * 4")
    math(EXPR want_size "${want_offset} + ${stride} * ${height}")

    compare_fields("${file}" errors
            "signature|${signature}|424d"
            "bfSize|${bf_size}|${actual_size}"
            "file size|${actual_size}|${want_size}"
            "pixel data offset|${bits_offset}|${want_offset}"
            "info header size|${info_size}|40"
            "width|${bi_width}|${width}"
            "height|${bi_height}|${height}"
            "bits per pixel|${bi_bits}|${bits}"
            "compression|${compression}|0"
            "colours used|${colours_used}|${entries}")
    set(${out} "${errors}" PARENT_SCOPE)
endfunction()

function(check_ico_header file width height out)
    set(errors "")
    file(SIZE "${file}" actual_size)
    if(actual_size LESS 62)
        set(${out} "${file}: too short for an icon" PARENT_SCOPE)
        return()
    endif()
    file(READ "${file}" hex LIMIT 62 HEX)
    read_le("${hex}" 2 2 type)
    read_le("${hex}" 4 2 count)
    read_le("${hex}" 6 1 dir_width)
    read_le("${hex}" 7 1 dir_height)
    read_le("${hex}" 12 2 dir_bits)
    read_le("${hex}" 14 4 bytes_in_res)
    read_le("${hex}" 18 4 image_offset)
    read_le("${hex}" 26 4 bi_width)
    read_le("${hex}" 30 4 bi_height)
    read_le("${hex}" 36 2 bi_bits)
    read_le("${hex}" 38 4 compression)
    math(EXPR double_height "${height} * 2")
    math(EXPR mask_stride "(${width} + 31) / 32 * 4")
    math(EXPR colour_stride "(${width} * 4 + 31) / 32 * 4")
    math(EXPR want_res "40 + 16 * 4 + (${colour_stride} + ${mask_stride}) * ${height}")
    math(EXPR want_size "22 + ${want_res}")
    compare_fields("${file}" errors
            "type|${type}|1" "image count|${count}|1"
            "entry width|${dir_width}|${width}" "entry height|${dir_height}|${height}"
            "entry bits|${dir_bits}|4" "image bytes|${bytes_in_res}|${want_res}"
            "image offset|${image_offset}|22" "file size|${actual_size}|${want_size}"
            "info width|${bi_width}|${width}" "info height (colour + mask)|${bi_height}|${double_height}"
            "info bits|${bi_bits}|4" "compression|${compression}|0")
    set(${out} "${errors}" PARENT_SCOPE)
endfunction()

function(run_bmpgen out)
    execute_process(COMMAND "${BMPGEN}" ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
    if(NOT rc EQUAL 0)
        set(${out} "bmpgen ${ARGN} failed: ${err}" PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

# Every source in the folder must be a known picture, and every known
# picture must have a source.
file(GLOB sources RELATIVE "${ART_DIR}" "${ART_DIR}/*.txt")
list(REMOVE_ITEM sources CMakeLists.txt)
set(known "")
list(LENGTH EXPECTED n)
math(EXPR last "${n} - 1")
foreach(i RANGE 0 ${last} 4)
    list(GET EXPECTED ${i} name)
    list(APPEND known ${name})
endforeach()
foreach(src IN LISTS sources)
    string(REGEX REPLACE "\\.txt$" "" name "${src}")
    if(NOT name IN_LIST known)
        problem("${src}: not in the table of expected pictures in check_art.cmake")
    endif()
endforeach()

if(UPDATE)
    set(out_dir "${ART_DIR}")
else()
    if(NOT DEFINED WORK_DIR)
        message(FATAL_ERROR "check_art.cmake: -DWORK_DIR=... is required")
    endif()
    set(out_dir "${WORK_DIR}")
    file(REMOVE_RECURSE "${out_dir}")
    file(MAKE_DIRECTORY "${out_dir}")
endif()

foreach(i RANGE 0 ${last} 4)
    math(EXPR iw "${i} + 1")
    math(EXPR ih "${i} + 2")
    math(EXPR ib "${i} + 3")
    list(GET EXPECTED ${i} name)
    list(GET EXPECTED ${iw} width)
    list(GET EXPECTED ${ih} height)
    list(GET EXPECTED ${ib} bits)
    if(NOT EXISTS "${ART_DIR}/${name}.txt")
        problem("${name}.txt: missing")
        continue()
    endif()

    set(outputs "${name}.bmp")
    run_bmpgen(err "${ART_DIR}/${name}.txt" "${out_dir}/${name}.bmp")
    if(name IN_LIST ICONS AND NOT err)
        list(APPEND outputs "${name}.ico")
        run_bmpgen(err --ico "${ART_DIR}/${name}.txt" "${out_dir}/${name}.ico")
    endif()
    if(err)
        problem("${err}")
        continue()
    endif()

    check_bmp_header("${out_dir}/${name}.bmp" ${width} ${height} ${bits} err)
    if(err)
        problem("${err}")
    endif()
    if(name IN_LIST ICONS)
        check_ico_header("${out_dir}/${name}.ico" ${width} ${height} err)
        if(err)
            problem("${err}")
        endif()
    endif()

    if(NOT UPDATE)
        foreach(file IN LISTS outputs)
            if(NOT EXISTS "${ART_DIR}/${file}")
                problem("${file}: not committed (run the `art` target)")
                continue()
            endif()
            execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${ART_DIR}/${file}" "${out_dir}/${file}"
                            RESULT_VARIABLE differs)
            if(differs)
                problem("${file}: differs from what ${name}.txt gives (edit the source, then run the `art` target)")
            endif()
        endforeach()
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "art check failed:\n  ${text}")
endif()
if(UPDATE)
    message(STATUS "Rewrote the pictures in ${ART_DIR}")
else()
    list(LENGTH known count)
    message(STATUS "All ${count} pictures match their sources")
endif()
