# The Debian packages the build needs beyond the compiler, each with a file that shows it is
# installed. A fresh machine may lack some: configure installs them and says so, so the
# README's commands work on their own.
function(genera_assicura_pacchetti)
  set(mancanti)
  foreach(voce IN LISTS ARGN)
    string(REPLACE "=" ";" coppia "${voce}")
    list(GET coppia 0 pacchetto)
    list(GET coppia 1 prova)
    if(NOT EXISTS "${prova}")
      list(APPEND mancanti ${pacchetto})
    endif()
  endforeach()
  if(mancanti)
    list(JOIN mancanti " " elenco)
    message(STATUS "Installing the missing Debian packages (apt-get shows what it downloads): "
                   "${elenco}")
    execute_process(COMMAND ${PROJECT_SOURCE_DIR}/cmake/installa_pacchetti.sh ${mancanti}
                    RESULT_VARIABLE esito)
    if(NOT esito EQUAL 0)
      message(FATAL_ERROR "Could not install ${elenco}: install them as root "
                          "(apt-get install ${elenco}) and configure again")
    endif()
  endif()
endfunction()

set(GENERA_PACCHETTI
  libcli11-dev=/usr/include/CLI/CLI.hpp
  nlohmann-json3-dev=/usr/include/nlohmann/json.hpp)
# The importer's projection.
list(APPEND GENERA_PACCHETTI libproj-dev=/usr/include/proj.h)
# `scenario importa` reads map files: GPX through the XML library, the map data of ways and nodes
# (XML and PBF) through the map library, which needs the protocol buffer decoder and the
# compression and XML libraries; the heights of `--quota` from an elevation raster through the
# raster library. Debian builds none of them for MinGW: the cross build leaves the command out.
if(NOT CMAKE_CROSSCOMPILING)
  set(GENERA_IMPORTA ON)
  list(APPEND GENERA_PACCHETTI libpugixml-dev=/usr/include/pugixml.hpp
       libgdal-dev=/usr/include/gdal/gdal.h
       libosmium2-dev=/usr/include/osmium/osm.hpp
       libprotozero-dev=/usr/include/protozero/version.hpp
       zlib1g-dev=/usr/include/zlib.h
       libbz2-dev=/usr/include/bzlib.h
       libexpat1-dev=/usr/include/expat.h)
else()
  set(GENERA_IMPORTA OFF)
endif()
if(GENERA_TESTS)
  # GoogleTest; the browser that opens the drawing's page, the interpreter of the script that
  # drives it and the font the page asks for; the tracer that interrupts runs at each file call
  # and the tools of the power-cut file system; Node.js and npm for the editor extension's
  # grammar, problem matchers and package; the editor that drives the language server.
  list(APPEND GENERA_PACCHETTI libgtest-dev=/usr/include/gtest/gtest.h
       chromium=/usr/bin/chromium
       python3=/usr/bin/python3
       # the checker of ispeziona's and confronta's JSON against their schemas
       python3-jsonschema=/usr/lib/python3/dist-packages/jsonschema/__init__.py
       fonts-dejavu-core=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
       strace=/usr/bin/strace
       e2fsprogs=/sbin/mkfs.ext4
       nodejs=/usr/bin/node
       npm=/usr/bin/npm
       neovim=/usr/bin/nvim)
endif()
if(GENERA_BENCH)
  list(APPEND GENERA_PACCHETTI libbenchmark-dev=/usr/include/benchmark/benchmark.h)
endif()
genera_assicura_pacchetti(${GENERA_PACCHETTI})

# The command line parser and the JSON library are header-only. A cross build cannot take them
# through the build machine's package files, which point into the build machine's include
# directory; it gets their two header folders alone.
if(CMAKE_CROSSCOMPILING)
  set(esterne ${CMAKE_BINARY_DIR}/intestazioni_esterne)
  file(MAKE_DIRECTORY ${esterne})
  foreach(cartella CLI nlohmann)
    if(NOT EXISTS ${esterne}/${cartella})
      file(CREATE_LINK /usr/include/${cartella} ${esterne}/${cartella} SYMBOLIC)
    endif()
  endforeach()
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 INTERFACE ${esterne})
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  target_include_directories(nlohmann_json::nlohmann_json INTERFACE ${esterne})
else()
  find_package(CLI11 CONFIG REQUIRED)
  find_package(nlohmann_json 3 CONFIG REQUIRED)
endif()
if(GENERA_IMPORTA)
  # The map libraries are linked by name, so that a static link (GENERA_STATICO) takes their
  # archives and a shared one their shared objects; the map library itself is header-only and
  # decodes PBF blocks on threads.
  find_package(Threads REQUIRED)
  set(GENERA_LIBRERIE_MAPPE pugixml expat z bz2 Threads::Threads)
  # The raster library comes as a shared library only, like the projection library.
  find_package(GDAL REQUIRED)
  list(APPEND GENERA_LIBRERIE_MAPPE GDAL::GDAL)
endif()
