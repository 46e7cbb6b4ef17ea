# Run after each build of a test executable: writes the test classes it holds,
# one a line, where AddTestClasses.cmake finds them for ctest.
execute_process(COMMAND ${EXECUTABLE} --list-classes OUTPUT_VARIABLE classes RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR classes STREQUAL "")
    message(FATAL_ERROR "${EXECUTABLE} --list-classes gave no classes (${result})")
endif()
file(WRITE ${OUTPUT} "${classes}")
