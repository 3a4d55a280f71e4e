# The deletion record (log, totals) and the remove batch.
trovik_add_test(delete_record_test
  ${CMAKE_CURRENT_SOURCE_DIR}/record_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/totals_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/removebatch_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/undeletable.h
  LIBS trovik_delete)
