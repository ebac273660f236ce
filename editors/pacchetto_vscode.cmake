# Packages the VS Code extension into a .vsix with its own npm tooling and checks that the
# package holds what the editor loads: the manifest, the client, the grammar, the language
# configuration and the language client library it requires at run time.
#
#   cmake -DESTENSIONE=<editors/vscode> -DPACCHETTO=<out.vsix> -P pacchetto_vscode.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE ${PACCHETTO})
execute_process(COMMAND node node_modules/@vscode/vsce/vsce package --allow-missing-repository --skip-license
                        -o ${PACCHETTO}
                WORKING_DIRECTORY ${ESTENSIONE} RESULT_VARIABLE esito)
if(NOT esito EQUAL 0 OR NOT EXISTS ${PACCHETTO})
  message(FATAL_ERROR "vsce package failed (${esito})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${PACCHETTO}
                OUTPUT_VARIABLE contenuto RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "${PACCHETTO} is not a readable archive")
endif()
foreach(atteso extension/package.json extension/extension.js
               extension/syntaxes/scenario.tmLanguage.json extension/language-configuration.json
               extension/node_modules/vscode-languageclient/node.js)
  string(FIND "${contenuto}" "${atteso}" dove)
  if(dove EQUAL -1)
    message(FATAL_ERROR "${PACCHETTO} lacks ${atteso}")
  endif()
endforeach()
string(FIND "${contenuto}" "extension/test/" dove)
if(NOT dove EQUAL -1)
  message(FATAL_ERROR "${PACCHETTO} carries the tests")
endif()
message(STATUS "${PACCHETTO}: packaged")
