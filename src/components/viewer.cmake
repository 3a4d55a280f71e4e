# The file viewer: the paged document, its text forms and its search (no
# widgets, in trovik_viewer), and the view control in trovik_components.
add_library(trovik_viewer STATIC
  ${CMAKE_CURRENT_LIST_DIR}/viewertext.cpp ${CMAKE_CURRENT_LIST_DIR}/viewertext.h
  ${CMAKE_CURRENT_LIST_DIR}/viewerdoc.cpp ${CMAKE_CURRENT_LIST_DIR}/viewerdoc.h
  ${CMAKE_CURRENT_LIST_DIR}/viewersearch.cpp ${CMAKE_CURRENT_LIST_DIR}/viewersearch.h
)
target_include_directories(trovik_viewer PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(trovik_viewer PUBLIC trovik_platform Qt6::Core)

target_sources(trovik_components PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fileviewer.cpp ${CMAKE_CURRENT_LIST_DIR}/fileviewer.h
)
target_link_libraries(trovik_components PUBLIC trovik_viewer)
# The status header above the viewer.
target_sources(trovik_components PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/statusheader.cpp ${CMAKE_CURRENT_LIST_DIR}/statusheader.h
)
