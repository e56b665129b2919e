# Plays SCRIPT with PLAYER and compares the transcript with the expected one
# beside the script (same name, ".expected"). Run with -DUPDATE=1 to write the
# transcript instead, for review before committing. -DLANGUAGE=en plays it in
# the English edition.
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(road ${SCRIPT} NAME_WE)
set(expected_file ${dir}/${road}.expected)
set(edition "")
if(LANGUAGE)
    set(edition --language ${LANGUAGE})
endif()
execute_process(COMMAND ${PLAYER} ${edition} ${SCRIPT}
    OUTPUT_VARIABLE transcript ERROR_VARIABLE diagnostics RESULT_VARIABLE status)
if(UPDATE)
    file(WRITE ${expected_file} "${transcript}")
    message(STATUS "wrote ${expected_file} (exit status ${status})")
    return()
endif()
# A script ends with status 0; one that proves an error (named error_*) with 2.
# Anything else (a crash, a sanitizer's report) fails the road.
set(expected_status 0)
if(road MATCHES "^error_")
    set(expected_status 2)
endif()
if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "storyplay ended with status ${status} on ${road}:\n${diagnostics}")
endif()
if(NOT EXISTS ${expected_file})
    message(FATAL_ERROR "no expected transcript ${expected_file}")
endif()
file(READ ${expected_file} expected)
if(NOT transcript STREQUAL expected)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${road}.actual "${transcript}")
    execute_process(COMMAND diff -u ${expected_file} ${CMAKE_CURRENT_BINARY_DIR}/${road}.actual)
    message(FATAL_ERROR "transcript of ${road} differs from ${expected_file}")
endif()
if(transcript MATCHES "\"event\":\"error\"" AND NOT road MATCHES "^error_")
    message(FATAL_ERROR "${road} ended in an error event")
endif()
