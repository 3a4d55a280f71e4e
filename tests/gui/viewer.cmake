# Window tests of the file viewer and its find dialog.
trovik_add_test(gui_viewer_test
  ${CMAKE_CURRENT_LIST_DIR}/viewer_window_test.cpp
  LIBS trovik_view_windows Qt6::Test)
