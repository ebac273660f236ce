# Checks the layering of src/ against the table in strati.cmake:
#   - the table has no circle (no layer may use itself through others);
#   - every folder of src/ is a layer of the table, and every layer a folder;
#   - no file of a layer includes a header of a layer its row does not allow (directly or
#     through the layers that row allows);
#   - when MAPPA is given (docs/ARCHITETTURA.md), its table of folders names exactly the layers,
#     each with exactly its row of strati.cmake in the last column.
#
#   cmake -DSORGENTI=<src folder> [-DMAPPA=<ARCHITETTURA.md>] -P cmake/controlla_strati.cmake
#
# Prints every violation with its file and line and fails when there is any.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/strati.cmake)

if(NOT SORGENTI)
  set(SORGENTI ${CMAKE_CURRENT_LIST_DIR}/../src)
endif()
get_filename_component(SORGENTI "${SORGENTI}" ABSOLUTE)
set(violazioni 0)

macro(violazione testo)
  message("${testo}")
  math(EXPR violazioni "${violazioni} + 1")
endmacro()

# The layers each layer may reach, its own row followed through; a layer met again on the way
# down from itself is a circle.
foreach(strato IN LISTS GENERA_STRATI)
  set(raggiunti)
  set(da_visitare ${GENERA_USA_${strato}})
  while(da_visitare)
    list(POP_FRONT da_visitare usato)
    if(usato STREQUAL strato)
      violazione("strati.cmake: the layer ${strato} uses itself through its row: a circle")
      break()
    endif()
    if(NOT usato IN_LIST GENERA_STRATI)
      violazione("strati.cmake: the row of ${strato} names ${usato}, which is not a layer")
      continue()
    endif()
    if(NOT usato IN_LIST raggiunti)
      list(APPEND raggiunti ${usato})
      list(APPEND da_visitare ${GENERA_USA_${usato}})
    endif()
  endwhile()
  set(permessi_${strato} ${raggiunti})
endforeach()

# Folders and layers, one to one.
file(GLOB voci LIST_DIRECTORIES true RELATIVE ${SORGENTI} ${SORGENTI}/*)
foreach(voce IN LISTS voci)
  if(IS_DIRECTORY ${SORGENTI}/${voce} AND NOT voce IN_LIST GENERA_STRATI)
    violazione("${SORGENTI}/${voce}: a folder that is not a layer of strati.cmake")
  endif()
endforeach()
foreach(strato IN LISTS GENERA_STRATI)
  if(NOT IS_DIRECTORY ${SORGENTI}/${strato})
    violazione("strati.cmake: the layer ${strato} has no folder in ${SORGENTI}")
  endif()
endforeach()

# Every include of a layer's header, from every file of every layer.
foreach(strato IN LISTS GENERA_STRATI)
  file(GLOB_RECURSE file_strato ${SORGENTI}/${strato}/*.hpp ${SORGENTI}/${strato}/*.cpp
       ${SORGENTI}/${strato}/*.inc)
  foreach(file_sorgente IN LISTS file_strato)
    file(READ ${file_sorgente} testo)
    string(REGEX MATCHALL "#[ \t]*include[ \t]*\"[^\"]+\"" inclusioni "${testo}")
    foreach(inclusione IN LISTS inclusioni)
      string(REGEX REPLACE ".*\"([^\"]+)\".*" "\\1" incluso "${inclusione}")
      string(REGEX MATCH "^[^/]+" primo "${incluso}")
      if(NOT primo IN_LIST GENERA_STRATI OR primo STREQUAL strato
         OR primo IN_LIST permessi_${strato})
        continue()
      endif()
      # The line of the include, for the message.
      string(FIND "${testo}" "${inclusione}" dove)
      string(SUBSTRING "${testo}" 0 ${dove} prima)
      string(REGEX MATCHALL "\n" ritorni "${prima}")
      list(LENGTH ritorni riga)
      math(EXPR riga "${riga} + 1")
      file(RELATIVE_PATH relativo ${SORGENTI} ${file_sorgente})
      string(REPLACE ";" " " consentiti "${permessi_${strato}}")
      violazione("src/${relativo}:${riga}: ${strato} includes ${incluso}; ${strato} may use only: ${consentiti}")
    endforeach()
  endforeach()
endforeach()

# The map's table of folders: one row per layer, "| `src/<layer>` | ... | <uses> |", the uses
# the layer's row of strati.cmake, comma-separated, in any order.
if(MAPPA)
  file(STRINGS ${MAPPA} righe REGEX "^\\| `src/[a-z_]+` \\|")
  set(nella_mappa)
  foreach(riga IN LISTS righe)
    string(REGEX REPLACE "^\\| `src/([a-z_]+)` \\|.*" "\\1" cartella "${riga}")
    list(APPEND nella_mappa ${cartella})
    if(NOT cartella IN_LIST GENERA_STRATI)
      violazione("${MAPPA}: the table names src/${cartella}, which is not a layer")
      continue()
    endif()
    string(REGEX REPLACE ".*\\|([^|]*)\\|[ \t]*$" "\\1" usati "${riga}")
    string(REGEX REPLACE "[ \t]" "" usati "${usati}")
    string(REPLACE "," ";" usati "${usati}")
    set(attesi ${GENERA_USA_${cartella}})
    list(SORT usati)
    list(SORT attesi)
    if(NOT "${usati}" STREQUAL "${attesi}")
      string(REPLACE ";" ", " usati "${usati}")
      string(REPLACE ";" ", " attesi "${attesi}")
      violazione("${MAPPA}: src/${cartella} uses \"${usati}\" in the table, \"${attesi}\" in strati.cmake")
    endif()
  endforeach()
  foreach(strato IN LISTS GENERA_STRATI)
    if(NOT strato IN_LIST nella_mappa)
      violazione("${MAPPA}: the table of folders lacks src/${strato}")
    endif()
  endforeach()
endif()

if(violazioni GREATER 0)
  message(FATAL_ERROR "${violazioni} layering violations")
endif()
message(STATUS "layering: ${SORGENTI} follows strati.cmake")
