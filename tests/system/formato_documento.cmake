# docs/formato.md is the output of `scenario formato --markdown`: fails, with the command that
# regenerates it, when the committed document and the table it comes from differ.
#   cmake -DSTRUMENTO=<scenario> -DDOCUMENTO=<docs/formato.md> -P formato_documento.cmake

execute_process(COMMAND ${STRUMENTO} formato --markdown
                OUTPUT_VARIABLE generato RESULT_VARIABLE stato)
if(NOT stato EQUAL 0)
  message(FATAL_ERROR "scenario formato --markdown e' finito con lo stato ${stato}")
endif()
if(NOT EXISTS ${DOCUMENTO})
  message(FATAL_ERROR "manca ${DOCUMENTO}: generalo con\n  scenario formato --markdown > docs/formato.md")
endif()
file(READ ${DOCUMENTO} scritto)
if(NOT generato STREQUAL scritto)
  message(FATAL_ERROR "${DOCUMENTO} non corrisponde al formato del programma: rigeneralo con\n"
                      "  build/scenario formato --markdown > docs/formato.md")
endif()
