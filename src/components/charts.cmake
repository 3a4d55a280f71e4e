# The charts of the statistics window on Qt Charts, and the marks and pie
# plans they draw (in trovik_charts, so that only the statistics link Qt
# Charts).
find_package(Qt6 REQUIRED COMPONENTS Charts)
add_library(trovik_charts STATIC
  ${CMAKE_CURRENT_LIST_DIR}/chartmarks.cpp ${CMAKE_CURRENT_LIST_DIR}/chartmarks.h
  ${CMAKE_CURRENT_LIST_DIR}/chartpanel.cpp ${CMAKE_CURRENT_LIST_DIR}/chartpanel.h
  ${CMAKE_CURRENT_LIST_DIR}/barchart.cpp ${CMAKE_CURRENT_LIST_DIR}/barchart.h
  ${CMAKE_CURRENT_LIST_DIR}/piechart.cpp ${CMAKE_CURRENT_LIST_DIR}/piechart.h
  ${CMAKE_CURRENT_LIST_DIR}/linechart.cpp ${CMAKE_CURRENT_LIST_DIR}/linechart.h
)
target_include_directories(trovik_charts PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(trovik_charts PUBLIC trovik_core Qt6::Widgets Qt6::Charts)

# A window's or chart's picture on paper.
target_sources(trovik_components PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/printpicture.cpp ${CMAKE_CURRENT_LIST_DIR}/printpicture.h
)
