trovik_add_test(components_viewer_test
  ${CMAKE_CURRENT_LIST_DIR}/viewer_test.cpp
  LIBS trovik_view)
