# The built widget tree must stay exactly as the layout rows give it:
# storyplay --layout is compared with tests/layout.expected.
# -DLANGUAGE=en: the English edition's tree.
set(edition "")
if(LANGUAGE)
    set(edition --language ${LANGUAGE})
endif()
execute_process(COMMAND ${PLAYER} ${edition} --layout OUTPUT_VARIABLE layout RESULT_VARIABLE status
                ERROR_VARIABLE diagnostics)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "storyplay --layout failed with status ${status}:\n${diagnostics}")
endif()
file(READ ${EXPECTED} expected)
if(NOT layout STREQUAL expected)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/layout.actual "${layout}")
    execute_process(COMMAND diff -u ${EXPECTED} ${CMAKE_CURRENT_BINARY_DIR}/layout.actual)
    message(FATAL_ERROR "the built widget tree differs from ${EXPECTED}")
endif()
