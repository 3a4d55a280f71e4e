# Window tests of the duplicate and file-hog finder: its criteria and
# searches, the searching state and "&Abort", and its place in the program.
trovik_add_test(gui_dup_test
  ${CMAKE_CURRENT_SOURCE_DIR}/frmdup_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/frmdup_search_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/frmdup_window_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/frmdup_fixture.h
  LIBS trovik_finders_windows trovik_app Qt6::Test)
