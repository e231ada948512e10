# Builds each layer probe (PROBES: "target:header,..."), a source of one layer
# that includes a header of the layer above: each must fail to compile, and
# fail because that header is not found.
string(REPLACE "," ";" probes "${PROBES}")
foreach(probe ${probes})
  string(REPLACE ":" ";" probe "${probe}")
  list(GET probe 0 target)
  list(GET probe 1 header)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target ${target}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(result EQUAL 0)
    message(FATAL_ERROR "${target}: the include of ${header} compiled")
  endif()
  string(FIND "${out}" "${header}: No such file" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${target} failed for another reason:\n${out}")
  endif()
  message(STATUS "${target}: ${header} is out of reach")
endforeach()
