# Archive restore: the engine, and trovik-scan restore from outside.
trovik_add_test(delete_restore_test
  ${CMAKE_CURRENT_LIST_DIR}/restore_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/restore_testutil.h
  LIBS trovik_delete)
trovik_add_test(delete_restore_cli_test
  ${CMAKE_CURRENT_LIST_DIR}/restore_cli_test.cpp
  LIBS trovik_delete)
target_compile_definitions(delete_restore_cli_test PRIVATE TROVIK_SCAN="$<TARGET_FILE:trovik-scan>")
add_dependencies(delete_restore_cli_test trovik-scan)
