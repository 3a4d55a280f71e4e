# Window tests of the files-by-date window.
trovik_add_test(gui_mods_test
  ${CMAKE_CURRENT_SOURCE_DIR}/frmmods_test.cpp
  LIBS trovik_finders_windows trovik_app Qt6::Test)
