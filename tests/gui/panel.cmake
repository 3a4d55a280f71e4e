# Window tests of the deletion panel: the Safe Harbor sorting, moving files
# between the lists, the operations and what they record.
trovik_add_test(gui_panel_test
  ${CMAKE_CURRENT_SOURCE_DIR}/panel_show_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/panel_ops_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/panel_fixture.h
  LIBS trovik_delete_windows Qt6::Test)
# The program's standby window as the panel's progress.
trovik_add_test(gui_panel_standby_test
  ${CMAKE_CURRENT_SOURCE_DIR}/panel_standby_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/panel_fixture.h
  LIBS trovik_delete_windows trovik_app Qt6::Test)
