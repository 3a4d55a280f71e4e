# Removers racing a folder swapped for a link on their path.
trovik_add_test(delete_filerace_test
  ${CMAKE_CURRENT_LIST_DIR}/filerace_test.cpp
  LIBS trovik_delete)
