# Runs the timetable generator into the build tree and fails when its output differs from
# the committed table. Called by CTest with GENERATOR, SOURCE_DIR and WORK_DIR set.
if(NOT GENERATOR)
  message("SKIPPED: libitl not found, so the generator that writes the table is not built")
  return()
endif()

set(rows ${WORK_DIR}/DailyTableRows.inc)
set(unpinned ${WORK_DIR}/unpinned-rows.txt)
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(
  COMMAND ${GENERATOR} --anchors ${SOURCE_DIR}/tools/timetable/anchor-rows.txt
          --rows-out ${rows} --unpinned-out ${unpinned}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the generator failed its own checks (exit ${result})")
endif()

foreach(pair "${rows}|src/timetable/DailyTableRows.inc"
             "${unpinned}|tools/timetable/unpinned-rows.txt")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 fresh)
  list(GET pair 1 committed)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${fresh} ${SOURCE_DIR}/${committed}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${committed} is not what the generator writes now (${fresh}); "
                        "rebuild the target timetable-rows and commit the result")
  endif()
endforeach()
message("the committed table is the generator's output")
