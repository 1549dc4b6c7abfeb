# The sample edition: halvora-pack turns the plain sources in data/ and the
# pinned Qur'an translation into the module files of the program folder.

set(HALVORA_QURAN_PACKAGE "quran-json@3.1.2")
set(HALVORA_QURAN_JSON "" CACHE FILEPATH "quran_en.json of ${HALVORA_QURAN_PACKAGE} (fetched when empty)")
if(NOT HALVORA_QURAN_JSON)
  set(_npm_dir ${CMAKE_BINARY_DIR}/npm)
  set(HALVORA_QURAN_JSON ${_npm_dir}/package/dist/quran_en.json)
  if(NOT EXISTS ${HALVORA_QURAN_JSON})
    find_program(HALVORA_NPM npm)
    if(NOT HALVORA_NPM)
      message(FATAL_ERROR "The Qur'an translation (npm package ${HALVORA_QURAN_PACKAGE}) is missing "
                          "and npm is not installed to fetch it: run scripts/setup.sh, or set "
                          "HALVORA_QURAN_JSON to its dist/quran_en.json.")
    endif()
    file(MAKE_DIRECTORY ${_npm_dir})
    message(STATUS "Fetching ${HALVORA_QURAN_PACKAGE}")
    execute_process(COMMAND ${HALVORA_NPM} pack ${HALVORA_QURAN_PACKAGE} --silent
                    WORKING_DIRECTORY ${_npm_dir} RESULT_VARIABLE _npm_rc
                    OUTPUT_VARIABLE _npm_out ERROR_VARIABLE _npm_err)
    if(NOT _npm_rc EQUAL 0 OR NOT EXISTS ${_npm_dir}/quran-json-3.1.2.tgz)
      message(FATAL_ERROR "Could not fetch the npm package ${HALVORA_QURAN_PACKAGE}, which holds the "
                          "Qur'an translation the build packs (${_npm_err}). Check the connection "
                          "to the npm registry, or set HALVORA_QURAN_JSON to its dist/quran_en.json.")
    endif()
    file(ARCHIVE_EXTRACT INPUT ${_npm_dir}/quran-json-3.1.2.tgz DESTINATION ${_npm_dir}
         PATTERNS package/dist/quran_en.json package/package.json package/LICENSE*)
    if(NOT EXISTS ${HALVORA_QURAN_JSON})
      message(FATAL_ERROR "${HALVORA_QURAN_PACKAGE} holds no dist/quran_en.json")
    endif()
  endif()
endif()

set(_pack $<TARGET_FILE:halvora-pack>)
set(_work ${CMAKE_BINARY_DIR}/edition)
set(_out ${HALVORA_PROGRAM_DIR})
file(MAKE_DIRECTORY ${_work})

file(GLOB _stories CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/stories/*.txt)
file(GLOB _documents CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/documents/*.txt)
set(_glossary ${CMAKE_SOURCE_DIR}/data/glossary.txt)

add_custom_command(OUTPUT ${_work}/checked.stamp
  COMMAND ${_pack} check ${CMAKE_SOURCE_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E touch ${_work}/checked.stamp
  DEPENDS halvora-pack ${_stories} ${_documents} ${_glossary}
  COMMENT "Checking the edition's sources" VERBATIM)

add_custom_command(OUTPUT ${_out}/DAZaruro2.dll
  COMMAND ${_pack} quran ${HALVORA_QURAN_JSON} ${_work}/QDATA.txt
  COMMAND ${_pack} dll ${_out}/DAZaruro2.dll QDATA QDATA=${_work}/QDATA.txt --scramble
  DEPENDS halvora-pack ${HALVORA_QURAN_JSON}
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
