# Test-only resources of the component library tests.
set(vcl_test_data ${CMAKE_CURRENT_LIST_DIR}/vcl)
vtrm_add_resource(NAME VclTest_Picture FILE ${vcl_test_data}/picture.png)
vtrm_add_resource(NAME VclTest_Broken FILE ${vcl_test_data}/broken.png)
vtrm_add_resource(NAME VclTest_Table FILE ${vcl_test_data}/unicode_table.txt ENCODING UTF16LE)
