# Folder deletion: the safe tree walk of the platform layer and the engine.
trovik_add_test(delete_deldir_test
  ${CMAKE_CURRENT_LIST_DIR}/deldir_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/foldertree_test.cpp
  LIBS trovik_delete)
