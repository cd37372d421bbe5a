# Embedded resources. Each resource becomes one generated .cpp (so an edit rebuilds only
# that file) that registers itself with the program's resource table at start.
#   vtrm_add_resource(NAME <name> FILE <path> [TYPE RC_DATA] [ENCODING RAW|UTF16LE]
#                     [DEPENDS <targets or files>])
# ENCODING UTF16LE converts a UTF-8 text file to UTF-16LE with a byte-order mark.
function(vtrm_add_resource)
  cmake_parse_arguments(R "" "NAME;FILE;TYPE;ENCODING" "DEPENDS" ${ARGN})
  if(NOT R_TYPE)
    set(R_TYPE RC_DATA)
  endif()
  if(NOT R_ENCODING)
    set(R_ENCODING RAW)
  endif()
  string(MAKE_C_IDENTIFIER "${R_NAME}_${R_TYPE}" ident)
  set(out ${CMAKE_BINARY_DIR}/generated/resources/${ident}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND vtrm_embed ${R_NAME} ${R_TYPE} ${R_ENCODING} ${R_FILE} ${out}
    DEPENDS vtrm_embed ${R_FILE} ${R_DEPENDS}
    COMMENT "Embedding resource ${R_NAME}"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY VTRM_RESOURCE_SOURCES ${out})
  set_property(GLOBAL APPEND PROPERTY VTRM_RESOURCE_MANIFEST "${R_NAME}|${R_TYPE}|${R_ENCODING}|${R_FILE}")
endfunction()
