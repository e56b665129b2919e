# Feeds bmpgen broken picture sources and checks that each is refused with
# exit status 1 and a message naming the file and the offending line, and
# that the loose parts of the format (comments, CRLF, trailing blanks) are
# accepted.
#
#   cmake -DBMPGEN=path/to/bmpgen -DWORK_DIR=scratch -P check_bmpgen_errors.cmake

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(failures "")

# expect_error(NAME LINE PATTERN TEXT [bmpgen mode args...])
function(expect_error name line pattern text)
    set(src "${WORK_DIR}/${name}.txt")
    file(WRITE "${src}" "${text}")
    execute_process(COMMAND "${BMPGEN}" ${ARGN} "${src}" "${WORK_DIR}/${name}.out"
                    RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
    if(NOT rc EQUAL 1)
        set(failures "${failures}\n  ${name}: exit status ${rc}, expected 1" PARENT_SCOPE)
    elseif(NOT err MATCHES "${name}\\.txt:${line}: ${pattern}")
        set(failures "${failures}\n  ${name}: message '${err}' does not name ${name}.txt:${line} and '${pattern}'"
            PARENT_SCOPE)
    endif()
endfunction()

expect_error(short_row 7 "row has 2 chars, expected 3" [=[size 3 2
depth 4
palette
a 000000
b FFFFFF
pixels
ab
aba
]=])

expect_error(long_row 8 "row has 4 chars, expected 3" [=[size 3 2
depth 8
palette
a 000000
b FFFFFF
pixels
aba
abab
]=])

expect_error(unknown_char 8 "unknown char 'z' in column 2" [=[# a comment first
size 3 2
depth 24
palette
a 000000
pixels
aaa
aza
]=])

# 17 colours cannot fit a 4-bit palette; the 17th entry is at fault.
set(palette "")
foreach(c a b c d e f g h i j k l m n o p q)
    string(APPEND palette "${c} 102030\n")
endforeach()
expect_error(too_many_colours 20 "too many palette entries for depth 4" "size 2 1\ndepth 4\npalette\n${palette}pixels\nab\n")

expect_error(bad_size 1 "expected 'size W H'" "size 12\ndepth 8\n")
expect_error(zero_width 1 "width 0 out of range" "size 0 4\ndepth 8\n")
expect_error(bad_depth 2 "expected 'depth 24', 'depth 8' or 'depth 4'" "size 2 2\ndepth 16\n")
expect_error(no_depth 4 "'depth' missing" "size 1 1\npalette\na 000000\npixels\na\n")
expect_error(bad_colour 4 "palette entry must be" "size 1 1\ndepth 8\npalette\na 12345G\npixels\na\n")
expect_error(twice 5 "palette char 'a' defined twice" "size 1 1\ndepth 8\npalette\na 000000\na FFFFFF\npixels\na\n")
expect_error(early_entry 3 "palette entry outside the palette section" "size 1 1\ndepth 8\na 000000\n")
expect_error(extra_words 4 "palette entry must be" "size 1 1\ndepth 8\npalette\n! 000000 000000\npixels\n!\n")
expect_error(missing_rows 7 "expected 3 pixel rows, found 2" "size 1 3\ndepth 8\npalette\na 000000\npixels\na\na\n")
expect_error(extra_row 8 "more than 2 pixel rows" "size 1 2\ndepth 8\npalette\na 000000\npixels\na\na\na\n")
expect_error(stray_keyword 3 "unknown line 'colours 4'" "size 1 1\ndepth 8\ncolours 4\n")
expect_error(bad_transparent 3 "transparent char 'x' is not in the palette" "size 1 1\ndepth 4\ntransparent x\npalette\na 000000\npixels\na\n")
expect_error(icon_depth 2 "an icon needs 'depth 4'" "size 1 1\ndepth 8\npalette\na 000000\npixels\na\n" --ico)

# Accepted: comments after header and palette lines, CRLF endings, trailing
# blanks and blank lines, comment lines between pixel rows.
file(WRITE "${WORK_DIR}/loose.txt"
    "# loose but valid\r\nsize 2 2   # two by two\r\ndepth 4\r\n\r\ntransparent .\r\npalette\r\n. 808000  # olive\r\nx 000080\r\npixels\r\n.x  \r\n# middle\r\nx.\r\n\r\n")
foreach(mode "" "--ico" "--png;3")
    execute_process(COMMAND "${BMPGEN}" ${mode} "${WORK_DIR}/loose.txt" "${WORK_DIR}/loose.out"
                    RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        string(APPEND failures "\n  loose source refused (mode '${mode}'): ${err}")
    endif()
endforeach()

# The same source gives the same bytes every time.
execute_process(COMMAND "${BMPGEN}" "${WORK_DIR}/loose.txt" "${WORK_DIR}/a.bmp")
execute_process(COMMAND "${BMPGEN}" "${WORK_DIR}/loose.txt" "${WORK_DIR}/b.bmp")
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK_DIR}/a.bmp" "${WORK_DIR}/b.bmp"
                RESULT_VARIABLE differs)
if(differs)
    string(APPEND failures "\n  two runs on the same source wrote different files")
endif()

# Usage errors.
foreach(args "only_one_arg" "--png;0;${WORK_DIR}/loose.txt;${WORK_DIR}/x.png" "--ico")
    execute_process(COMMAND "${BMPGEN}" ${args} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
    if(NOT rc EQUAL 1)
        string(APPEND failures "\n  'bmpgen ${args}' exit status ${rc}, expected 1")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "bmpgen error handling:${failures}")
endif()
message(STATUS "bmpgen refuses every broken source")
