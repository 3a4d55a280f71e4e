trovik_add_test(components_viewer_test
  ${CMAKE_CURRENT_LIST_DIR}/viewer_test.cpp
  LIBS trovik_view)

# The viewer control's keys and scrolling.
trovik_add_test(components_fileviewer_test
  ${CMAKE_CURRENT_LIST_DIR}/fileviewer_test.cpp
  LIBS trovik_components Qt6::Test)
