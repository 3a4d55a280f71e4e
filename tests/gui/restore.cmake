# Window tests of the archive restore: the restore window, its destination,
# folder-name and password dialogs, and the launcher button.
trovik_add_test(gui_restore_test
  ${CMAKE_CURRENT_SOURCE_DIR}/restore_window_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/restore_dialogs_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/zip_roundtrip_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/restore_fixture.h
  LIBS trovik_delete_windows trovik_app Qt6::Test)
