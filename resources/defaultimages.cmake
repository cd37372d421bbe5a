# The three default configuration images and the default PC macro library, written by
# tools/defaultimages at build time and embedded as data resources.
set(default_images_dir ${CMAKE_BINARY_DIR}/generated/defaultimages)
set(default_images_names VTRM408xData_Cfg1 VTRM408xData_Cfg2 VTRM408xData_Cfg3 PCMacroData)
set(default_images_files)
foreach(name IN LISTS default_images_names)
  list(APPEND default_images_files ${default_images_dir}/${name}.bin)
endforeach()
add_custom_command(
  OUTPUT ${default_images_files}
  COMMAND vtrm_defaultimages ${default_images_dir}
  DEPENDS vtrm_defaultimages
  COMMENT "Writing the default configuration images"
  VERBATIM)
foreach(name IN LISTS default_images_names)
  vtrm_add_resource(NAME ${name} FILE ${default_images_dir}/${name}.bin DEPENDS vtrm_defaultimages)
endforeach()
