# Window tests of the duplicate/file-hog result list: marks and their books,
# the hand-over to the deletion panel, the menu, clipboard, print, web page,
# sorting, title clicks and the top panel.
trovik_add_test(gui_dupresults_test
  ${CMAKE_CURRENT_SOURCE_DIR}/dupresults_marks_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/dupresults_window_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/dupresults_list_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/dupresults_fixture.h
  LIBS trovik_finders_windows trovik_app Qt6::Test)
