# Window tests of the file details window and the duplicate pair window.
trovik_add_test(gui_details_test
  ${CMAKE_CURRENT_SOURCE_DIR}/details_window_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/dupcompare_window_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/browse/pebuilder.cpp
  LIBS trovik_finders_windows trovik_app Qt6::Test)
