# The busy window's form design.
vtrm_add_resource(NAME FORMLOADINGUI FILE ${CMAKE_CURRENT_SOURCE_DIR}/form/FormLoadingUI.txt)
