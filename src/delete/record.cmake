# The deletion record (log and totals) and the remove batch the deletion
# panel and trovik-scan share. No widgets.
target_sources(trovik_delete PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/deletionlog.cpp ${CMAKE_CURRENT_LIST_DIR}/deletionlog.h
  ${CMAKE_CURRENT_LIST_DIR}/deletetotals.cpp ${CMAKE_CURRENT_LIST_DIR}/deletetotals.h
  ${CMAKE_CURRENT_LIST_DIR}/removebatch.cpp ${CMAKE_CURRENT_LIST_DIR}/removebatch.h
)
