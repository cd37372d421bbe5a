# The layout settings texts: [org] general settings (the per-language layouts join them).
vtrm_add_resource(NAME ORG FILE ${CMAKE_CURRENT_SOURCE_DIR}/layout/ORG.txt)
