# Fails when a catalog is behind its sources: a marked text without a translation,
# or a translation whose text no longer exists. The catalog itself is never touched.
# Run as: cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<folders, ;-separated> -DTS_FILE=<ts> -DWORK_DIR=<dir>
#   -DOPTIONS=<lupdate options, ;-separated> -P CheckTranslations.cmake
file(MAKE_DIRECTORY "${WORK_DIR}")
get_filename_component(name "${TS_FILE}" NAME)
set(copy "${WORK_DIR}/${name}")
configure_file("${TS_FILE}" "${copy}" COPYONLY)
execute_process(COMMAND "${LUPDATE}" ${OPTIONS} ${SOURCE_DIR} -ts "${copy}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lupdate failed:\n${output}")
endif()
file(READ "${copy}" catalog)
# One message per list item, so the texts at fault can be named ("&amp;" holds a list separator).
string(REPLACE ";" "@SEMICOLON@" catalog "${catalog}")
string(REPLACE "<message>" ";<message>" messages "${catalog}")
set(faults "")
foreach(message IN LISTS messages)
  if(message MATCHES "type=\"(unfinished|obsolete|vanished)\"")
    set(kind ${CMAKE_MATCH_1})
    string(REGEX MATCH "<source>([^<]*)</source>" ignored "${message}")
    string(REPLACE "@SEMICOLON@" ";" text "${CMAKE_MATCH_1}")
    string(APPEND faults "  ${kind}: ${text}\n")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "${name} is behind the sources (run `make translations`, then translate):\n"
    "${faults}")
endif()
message(STATUS "${name}: every marked text is translated")
