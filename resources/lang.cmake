# The language tables: one table per user-interface language, kept here as UTF-8 and built
# in as UTF-16LE text with its byte-order mark, the form the table reader expects.
foreach(n 1 2 3)
  vtrm_add_resource(NAME LANG${n} FILE ${CMAKE_CURRENT_SOURCE_DIR}/lang/Lang${n}.txt ENCODING UTF16LE)
endforeach()
