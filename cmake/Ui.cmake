# The window layer: Qt 6 Widgets, the control kit, the dialogs and the artwork.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
find_package(JPEG REQUIRED)


add_library(halvora_ui STATIC ${HALVORA_UI_SOURCES} ${CMAKE_SOURCE_DIR}/assets/assets.qrc
            ${CMAKE_SOURCE_DIR}/src/tools/tools.qrc)
target_link_libraries(halvora_ui PUBLIC halvora_core Qt6::Widgets JPEG::JPEG)
# Only the window layer and its tests need Qt's code generators.
set_target_properties(halvora_ui PROPERTIES AUTOMOC ON AUTORCC ON)
target_compile_options(halvora_ui PRIVATE ${HALVORA_WARNINGS})


# The artwork generator: run it by hand (target halvora-artgen) to remake the
# pictures in assets/, which are committed.
add_executable(halvora-artgen EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/assets/generator/artgen.cpp)
target_link_libraries(halvora-artgen PRIVATE Qt6::Widgets)
target_compile_options(halvora-artgen PRIVATE ${HALVORA_WARNINGS})
add_custom_target(artwork
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:halvora-artgen> ${CMAKE_SOURCE_DIR}/assets
  DEPENDS halvora-artgen
  COMMENT "Regenerating the artwork in assets/")

if(EXISTS ${CMAKE_SOURCE_DIR}/src/shell/main.cpp)
  add_executable(halvora ${CMAKE_SOURCE_DIR}/src/shell/main.cpp)
  target_link_libraries(halvora PRIVATE halvora_ui halvora_signatures)
  target_compile_options(halvora PRIVATE ${HALVORA_WARNINGS})
  set_target_properties(halvora PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${HALVORA_PROGRAM_DIR})
  # The self-check compares the program file with this signature.
  add_custom_command(TARGET halvora POST_BUILD
    COMMAND sh -c "$<TARGET_FILE:halvora-pack> signature $<TARGET_FILE:halvora> > $<TARGET_FILE:halvora>.sig"
    VERBATIM)
  add_dependencies(halvora halvora-pack)

  # The program folder goes whole to lib/halvora: the program finds its
  # modules beside itself. A launcher, a desktop entry and an icon go around it.
  include(GNUInstallDirs)
  install(DIRECTORY ${HALVORA_PROGRAM_DIR}/ DESTINATION lib/halvora
          USE_SOURCE_PERMISSIONS)
  file(WRITE ${CMAKE_BINARY_DIR}/launcher/halvora
       "#!/bin/sh\nexec \"$(dirname \"$(readlink -f \"$0\")\")/../lib/halvora/halvora\" \"$@\"\n")
  install(PROGRAMS ${CMAKE_BINARY_DIR}/launcher/halvora DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/share/halvora.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/assets/Halvora.png DESTINATION
          ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME halvora.png)
endif()
