# Window test of the folder hogs window.
trovik_add_test(gui_dirhog_test
  ${CMAKE_CURRENT_SOURCE_DIR}/dirhog_window_test.cpp
  LIBS trovik_finders_windows trovik_app Qt6::Test)
