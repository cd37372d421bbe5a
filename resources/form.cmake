# The main window's form design.
vtrm_add_resource(NAME FORM1 FILE ${CMAKE_CURRENT_SOURCE_DIR}/form/Form1.txt)
