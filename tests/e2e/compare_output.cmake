# Runs "velkor-cli show --new" and compares its output with the expected file.
execute_process(COMMAND ${CLI} show --new OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "velkor-cli exited with ${rc}")
endif()
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "output differs:\n${out}\nexpected:\n${expected}")
endif()
