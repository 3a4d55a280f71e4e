# Zip before delete: the operation engine (two drives, same minute, existing
# names, unreadable archives, abort, totals) and trovik-scan archive.
trovik_add_test(delete_zipop_test
  ${CMAKE_CURRENT_LIST_DIR}/zipop_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/zipop_fixture.h
  ${CMAKE_CURRENT_LIST_DIR}/zipop_cli_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/zipop_guard_test.cpp
  LIBS trovik_delete)
target_compile_definitions(delete_zipop_test PRIVATE TROVIK_SCAN="$<TARGET_FILE:trovik-scan>")
add_dependencies(delete_zipop_test trovik-scan)
# trovik-scan archive killed at random moments: no file is ever lost.
# Short here; bench/zip_crash.sh runs 20 kills on 2,000 files.
trovik_add_test(delete_zipop_crash_test
  ${CMAKE_CURRENT_LIST_DIR}/zipop_crash_test.cpp
  LIBS trovik_delete)
target_compile_definitions(delete_zipop_crash_test PRIVATE TROVIK_SCAN="$<TARGET_FILE:trovik-scan>")
add_dependencies(delete_zipop_crash_test trovik-scan)
