# Window tests of the statistics window.
trovik_add_test(gui_stats_test
  ${CMAKE_CURRENT_SOURCE_DIR}/statistics_window_test.cpp
  LIBS trovik_stats_windows Qt6::Test)
