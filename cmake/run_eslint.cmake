# Runs ESLint from build-node/ on the project's JavaScript, as the test
# ScriptLint does: cmake -DNODE_MODULES=DIR -DSOURCE_DIR=DIR -P run_eslint.cmake
# FILE ... (the files after the script, relative to SOURCE_DIR). Without
# ESLint installed it fails saying how to install it.
set(eslint ${NODE_MODULES}/eslint/bin/eslint.js)
if(NOT EXISTS ${eslint})
  message(FATAL_ERROR
    "ESLint is not installed in ${NODE_MODULES}: run scripts/install-deps test")
endif()
set(files)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(CMAKE_ARGV${i} MATCHES "\\.js$")
    list(APPEND files ${CMAKE_ARGV${i}})
  endif()
endforeach()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=${NODE_MODULES}
    node ${eslint} --max-warnings 0 ${files}
  WORKING_DIRECTORY ${SOURCE_DIR}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ESLint found the problems above")
endif()
