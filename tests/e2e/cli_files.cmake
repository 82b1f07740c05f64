# velkor-cli new, show FILE and convert as a user runs them: names, exit
# statuses, messages and the files they leave.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})

function(run expected_rc)
  execute_process(COMMAND ${CLI} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "velkor-cli ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

# new: the name is lower-cased and gets ".dcf"; show prints what show --new does.
run(0 new -o ${OUT}/Site.DCF)
if(NOT EXISTS ${OUT}/site.dcf)
  message(FATAL_ERROR "new -o Site.DCF did not write site.dcf")
endif()
file(SIZE ${OUT}/site.dcf size)
if(NOT size EQUAL 756)
  message(FATAL_ERROR "a new database file has ${size} bytes, not 756")
endif()
run(0 show ${OUT}/site.dcf)
file(READ ${SHOW_NEW} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "show of a new file:\n${out}\nexpected:\n${expected}")
endif()

# convert: an example comes back byte for byte; show prints its trees.
run(0 convert ${EXAMPLES}/small-office.dcf -o ${OUT}/copy)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXAMPLES}/small-office.dcf ${OUT}/copy.dcf
  RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "convert changed small-office.dcf")
endif()
run(0 show ${EXAMPLES}/small-office.dcf)
file(READ ${SHOW_SMALL} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "show small-office.dcf:\n${out}\nexpected:\n${expected}")
endif()

# Failures: the message boxes on stderr, exit 1, nothing written.
file(WRITE ${OUT}/broken.dcf "not a database")
run(1 convert ${OUT}/broken.dcf -o ${OUT}/out.dcf)
if(NOT err MATCHES "Ошибка: Ошибка чтения файла\nВнимание: База данных из файла не загружена")
  message(FATAL_ERROR "unexpected messages for a broken file:\n${err}")
endif()
if(EXISTS ${OUT}/out.dcf)
  message(FATAL_ERROR "a failed convert wrote its output")
endif()
run(1 show ${OUT}/missing.dcf)
run(1 new -o ${OUT}/no/such/folder/x.dcf)
if(NOT err MATCHES "Ошибка: Ошибка записи файла\nВнимание: База данных в файл не сохранена")
  message(FATAL_ERROR "unexpected messages for a failed save:\n${err}")
endif()

# Usage errors.
run(2 new)
run(2 show)
run(2 convert ${OUT}/site.dcf)
run(2 show a.dcf b.dcf)
run(0 convert --help)
