# Window tests of zip before delete: the zip options window and the
# deletion panel's zip operation.
trovik_add_test(gui_zipop_test
  ${CMAKE_CURRENT_LIST_DIR}/zipop_options_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/zipop_panel_test.cpp
  LIBS trovik_delete_windows Qt6::Test)
