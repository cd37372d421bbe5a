# The layout settings of each language: [org1]..[org3], one text each (written by
# layout/make_layout_texts.py from the form design and its tables).
foreach(n 1 2 3)
  vtrm_add_resource(NAME ORG${n} FILE ${CMAKE_CURRENT_SOURCE_DIR}/layout/ORG${n}.txt)
endforeach()
