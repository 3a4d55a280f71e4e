# Window tests of the scan scope dialogs, the drive check list and the
# statistics type-list editor.
trovik_add_test(gui_finders_test
  ${CMAKE_CURRENT_SOURCE_DIR}/drivechecklist_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/whichdrive_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/wildcard_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/selectextension_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/addnewfolder_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/statlist_test.cpp
  LIBS trovik_finders_windows Qt6::Test)
