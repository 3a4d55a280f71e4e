# Window tests of the folder deletion window: its controls, the three
# operations, Cancel before and during an operation.
trovik_add_test(gui_deldir_test
  ${CMAKE_CURRENT_SOURCE_DIR}/deldir_window_test.cpp
  LIBS trovik_delete_windows Qt6::Test)
