# Runs the translator on the demo plug-in with an empty standard input, so
# that its final wait for a key returns at once, and fails when it fails.
if(WIN32)
  set(no_input NUL)
else()
  set(no_input /dev/null)
endif()
execute_process(COMMAND ${PROGRAM} ${PLUGIN} INPUT_FILE ${no_input} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "quillaret failed with status ${status}")
endif()
