# Window tests of the quick clean and its list editor.
trovik_add_test(gui_clean_test
  ${CMAKE_CURRENT_SOURCE_DIR}/clean_window_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/finders_testutil.h
  LIBS trovik_finders_windows Qt6::Test)
