# The statistics window, its pages and their charts.
add_library(trovik_stats_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frmstatistics.cpp ${CMAKE_CURRENT_LIST_DIR}/frmstatistics.h
  ${CMAKE_CURRENT_LIST_DIR}/frmstatistics_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/statwidgets.cpp ${CMAKE_CURRENT_LIST_DIR}/statwidgets.h
  ${CMAKE_CURRENT_LIST_DIR}/charttab.cpp ${CMAKE_CURRENT_LIST_DIR}/charttab.h
  ${CMAKE_CURRENT_LIST_DIR}/typestab.cpp ${CMAKE_CURRENT_LIST_DIR}/typestab.h
  ${CMAKE_CURRENT_LIST_DIR}/overhangtab.cpp ${CMAKE_CURRENT_LIST_DIR}/overhangtab.h
  ${CMAKE_CURRENT_LIST_DIR}/attributetab.cpp ${CMAKE_CURRENT_LIST_DIR}/attributetab.h
  ${CMAKE_CURRENT_LIST_DIR}/timetab.cpp ${CMAKE_CURRENT_LIST_DIR}/timetab.h
  ${CMAKE_CURRENT_LIST_DIR}/spacetab.cpp ${CMAKE_CURRENT_LIST_DIR}/spacetab.h
  ${CMAKE_CURRENT_LIST_DIR}/deletedtab.cpp ${CMAKE_CURRENT_LIST_DIR}/deletedtab.h
)
target_link_libraries(trovik_stats_windows PUBLIC
  trovik_stats trovik_finders_windows trovik_components trovik_charts trovik_delete trovik_reports Qt6::Widgets)
