# Window tests of the folder browser: marks, hand-over, sorts, closing,
# wildcard, tree and "Delete &Folder".
trovik_add_test(gui_browse_test
  ${CMAKE_CURRENT_SOURCE_DIR}/browse_window_test.cpp
  LIBS trovik_browser_windows Qt6::Test)
