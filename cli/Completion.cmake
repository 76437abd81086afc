# Writes the completion script that lcx3 prints for SHELL into OUT.
execute_process(COMMAND ${LCX3} --completion ${SHELL} OUTPUT_FILE ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lcx3 --completion ${SHELL} failed: ${status}")
endif()
