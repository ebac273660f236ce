# The layering check must catch an include against the table: a copy of src/ with one planted
# upward include (the model including the tool), and a planted folder that is not a layer, must
# fail the check with both named.
#
#   cmake -DSORGENTI=<src> -DCONTROLLO=<controlla_strati.cmake> -DLAVORO=<scratch> -P ...
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${LAVORO})
file(COPY ${SORGENTI}/ DESTINATION ${LAVORO})
file(APPEND ${LAVORO}/model/arrotonda.hpp "\n#include \"tool/comando.hpp\"\n")
file(MAKE_DIRECTORY ${LAVORO}/varie)

execute_process(COMMAND ${CMAKE_COMMAND} -DSORGENTI=${LAVORO} -P ${CONTROLLO}
                RESULT_VARIABLE esito OUTPUT_VARIABLE uscita ERROR_VARIABLE uscita)
file(REMOVE_RECURSE ${LAVORO})

if(esito EQUAL 0)
  message(FATAL_ERROR "the check passed a planted upward include:\n${uscita}")
endif()
foreach(atteso "src/model/arrotonda.hpp:[0-9]+: model includes tool/comando.hpp"
               "/varie: a folder that is not a layer" "2 layering violations")
  if(NOT uscita MATCHES "${atteso}")
    message(FATAL_ERROR "the check did not say \"${atteso}\":\n${uscita}")
  endif()
endforeach()
