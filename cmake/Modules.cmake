# The sample edition: halvora-pack turns the plain sources in data/ and the
# Qur'an translation into the module files of the program folder.

# The translation is a source described in data/translations/NAME/: the npm
# package that carries it, the JSON file in it, the key of a verse's text, and
# the corrections applied when it is packed.
set(HALVORA_TRANSLATION "saheeh" CACHE STRING "the Qur'an translation source in data/translations/")
set(_tr_dir ${CMAKE_SOURCE_DIR}/data/translations/${HALVORA_TRANSLATION})
if(NOT EXISTS ${_tr_dir}/source.txt)
  message(FATAL_ERROR "No translation source ${HALVORA_TRANSLATION}: ${_tr_dir}/source.txt is missing.")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_tr_dir}/source.txt)
file(STRINGS ${_tr_dir}/source.txt _tr_lines)
foreach(_key package file text)
  set(_tr_${_key} "")
  foreach(_line IN LISTS _tr_lines)
    if(_line MATCHES "^${_key}:[ \t]*(.*[^ \t])[ \t]*$")
      set(_tr_${_key} ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(_tr_${_key} STREQUAL "")
    message(FATAL_ERROR "${_tr_dir}/source.txt has no \"${_key}:\" line.")
  endif()
endforeach()
set(_tr_corrections ${_tr_dir}/corrections.txt)

# npm names the packed file after the package: "@scope/name@1.0" gives
# "scope-name-1.0.tgz".
string(REGEX REPLACE "^(@?[^@]+)@(.+)$" "\\1" _tr_name ${_tr_package})
string(REGEX REPLACE "^(@?[^@]+)@(.+)$" "\\2" _tr_version ${_tr_package})
string(REGEX REPLACE "^@" "" _tr_tgz ${_tr_name})
string(REPLACE "/" "-" _tr_tgz ${_tr_tgz})
set(_tr_tgz ${_tr_tgz}-${_tr_version}.tgz)

set(HALVORA_QURAN_JSON "" CACHE FILEPATH "the translation's JSON file (fetched from its npm package when empty)")
set(_quran_json ${HALVORA_QURAN_JSON})
if(NOT _quran_json)
  set(_npm_dir ${CMAKE_BINARY_DIR}/npm)
  set(_quran_json ${_npm_dir}/package/${_tr_file})
  # A package fetched for another source is replaced.
  if(EXISTS ${_quran_json} AND NOT EXISTS ${_npm_dir}/${_tr_tgz})
    file(REMOVE_RECURSE ${_npm_dir}/package)
  endif()
  if(NOT EXISTS ${_quran_json})
    find_program(HALVORA_NPM npm)
    if(NOT HALVORA_NPM)
      message(FATAL_ERROR "The Qur'an translation (npm package ${_tr_package}) is missing "
                          "and npm is not installed to fetch it: run scripts/setup.sh, or set "
                          "HALVORA_QURAN_JSON to its ${_tr_file}.")
    endif()
    file(MAKE_DIRECTORY ${_npm_dir})
    message(STATUS "Fetching ${_tr_package}")
    execute_process(COMMAND ${HALVORA_NPM} pack ${_tr_package} --silent
                    WORKING_DIRECTORY ${_npm_dir} RESULT_VARIABLE _npm_rc
                    OUTPUT_VARIABLE _npm_out ERROR_VARIABLE _npm_err)
    if(NOT _npm_rc EQUAL 0 OR NOT EXISTS ${_npm_dir}/${_tr_tgz})
      message(FATAL_ERROR "Could not fetch the npm package ${_tr_package}, which holds the "
                          "Qur'an translation the build packs (${_npm_err}). Check the connection "
                          "to the npm registry, or set HALVORA_QURAN_JSON to its ${_tr_file}.")
    endif()
    # The package's own description, licence and read-me stay beside the text:
    # they are what it says of itself.
    file(ARCHIVE_EXTRACT INPUT ${_npm_dir}/${_tr_tgz} DESTINATION ${_npm_dir}
         PATTERNS package/${_tr_file} package/package.json package/LICENSE* package/README*)
    if(NOT EXISTS ${_quran_json})
      message(FATAL_ERROR "${_tr_package} holds no ${_tr_file}")
    endif()
  endif()
endif()

set(_pack $<TARGET_FILE:halvora-pack>)
set(_work ${CMAKE_BINARY_DIR}/edition)
set(_out ${HALVORA_PROGRAM_DIR})
file(MAKE_DIRECTORY ${_work})

# The notice of the work of others travels with the program folder.
configure_file(${CMAKE_SOURCE_DIR}/share/ThirdPartyNotices.txt ${_out}/ThirdPartyNotices.txt COPYONLY)

file(GLOB _stories CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/stories/*.txt)
file(GLOB _documents CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/documents/*.txt)
set(_glossary ${CMAKE_SOURCE_DIR}/data/glossary.txt)

add_custom_command(OUTPUT ${_work}/checked.stamp
  COMMAND ${_pack} check ${CMAKE_SOURCE_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E touch ${_work}/checked.stamp
  DEPENDS halvora-pack ${_stories} ${_documents} ${_glossary} ${_tr_dir}/source.txt
          ${_tr_corrections}
  COMMENT "Checking the edition's sources" VERBATIM)

# A correction whose text is no longer found fails here.
add_custom_command(OUTPUT ${_out}/DAZaruro2.dll
  COMMAND ${_pack} quran ${_quran_json} ${_work}/QDATA.txt
          --text ${_tr_text} --corrections ${_tr_corrections}
  COMMAND ${_pack} dll ${_out}/DAZaruro2.dll QDATA QDATA=${_work}/QDATA.txt --scramble
  DEPENDS halvora-pack ${_quran_json} ${_tr_corrections}
  COMMENT "Packing the Qur'an translation module" VERBATIM)

set(_story_args)
foreach(n RANGE 1 29)
  if(n LESS 10)
    set(_nn 0${n})
  else()
    set(_nn ${n})
  endif()
  list(APPEND _story_args HV${n}=${CMAKE_SOURCE_DIR}/data/stories/${_nn}.txt)
endforeach()
add_custom_command(OUTPUT ${_out}/HVModule.dll
  COMMAND ${_pack} dll ${_out}/HVModule.dll HVDATA ${_story_args} --encipher
  DEPENDS halvora-pack ${_work}/checked.stamp ${_stories}
  COMMENT "Packing the story module" VERBATIM)

add_custom_command(OUTPUT ${_out}/QGloss.dbx
  COMMAND ${_pack} lines ${_glossary} ${_out}/QGloss.dbx
  DEPENDS halvora-pack ${_work}/checked.stamp ${_glossary}
  COMMENT "Packing the glossary" VERBATIM)

add_custom_command(OUTPUT ${_out}/QRemoteAud.dbx
  COMMAND ${_pack} recitation ${_work}/QRemoteAud.txt
  COMMAND ${_pack} lines ${_work}/QRemoteAud.txt ${_out}/QRemoteAud.dbx
  DEPENDS halvora-pack
  COMMENT "Packing the recitation data" VERBATIM)

add_custom_command(OUTPUT ${_out}/QIndex.dbx
  COMMAND ${_pack} index ${CMAKE_SOURCE_DIR}/data/stories ${_work}/QIndex.txt
  COMMAND ${_pack} tree ${_work}/QIndex.txt ${_out}/QIndex.dbx
  DEPENDS halvora-pack ${_work}/checked.stamp ${_stories}
  COMMENT "Packing the index" VERBATIM)

set(_doc_outputs)
foreach(doc IN LISTS _documents)
  get_filename_component(_name ${doc} NAME_WE)
  add_custom_command(OUTPUT ${_out}/${_name}.dbi
    COMMAND ${_pack} document ${doc} ${_out}/${_name}.dbi
    DEPENDS halvora-pack ${_work}/checked.stamp ${doc}
    COMMENT "Packing the document ${_name}" VERBATIM)
  list(APPEND _doc_outputs ${_out}/${_name}.dbi)
endforeach()

set(HALVORA_MODULE_FILES ${_out}/DAZaruro2.dll ${_out}/HVModule.dll ${_out}/QGloss.dbx
    ${_out}/QRemoteAud.dbx ${_out}/QIndex.dbx ${_doc_outputs})

# Every expected signature is a constant of the build.
set(HALVORA_SIGNATURES_CPP ${CMAKE_BINARY_DIR}/generated/halvora_signatures.cpp)
add_custom_command(OUTPUT ${HALVORA_SIGNATURES_CPP}
  COMMAND ${_pack} signatures ${HALVORA_SIGNATURES_CPP}
          kSignatureQuranModule=${_out}/DAZaruro2.dll
          kSignatureStoryModule=${_out}/HVModule.dll
          kSignatureGlossary=${_out}/QGloss.dbx
          kSignatureRecitation=${_out}/QRemoteAud.dbx
  DEPENDS halvora-pack ${HALVORA_MODULE_FILES}
  COMMENT "Writing the expected signatures" VERBATIM)

add_custom_target(halvora_edition ALL DEPENDS ${HALVORA_MODULE_FILES} ${HALVORA_SIGNATURES_CPP})
add_library(halvora_signatures STATIC ${HALVORA_SIGNATURES_CPP})
target_link_libraries(halvora_signatures PUBLIC halvora_core)
add_dependencies(halvora_signatures halvora_edition)
