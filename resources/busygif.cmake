# The busy animation, drawn at build time by tools/busygif.
set(busygif_file ${CMAKE_BINARY_DIR}/generated/art/busy.gif)
add_custom_command(
  OUTPUT ${busygif_file}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated/art
  COMMAND vtrm_busygif ${busygif_file}
  DEPENDS vtrm_busygif
  COMMENT "Drawing the busy animation"
  VERBATIM)
vtrm_add_resource(NAME BUSYGIF FILE ${busygif_file} DEPENDS ${busygif_file})
