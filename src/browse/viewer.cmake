# The file viewer window and its find dialog (trovik_view_windows), and the
# texts of its status header (trovik_view, no widgets).
add_library(trovik_view STATIC
  ${CMAKE_CURRENT_LIST_DIR}/viewstatus.cpp ${CMAKE_CURRENT_LIST_DIR}/viewstatus.h
)
target_link_libraries(trovik_view PUBLIC trovik_viewer trovik_core)

add_library(trovik_view_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/finddlg.cpp ${CMAKE_CURRENT_LIST_DIR}/finddlg.h
  ${CMAKE_CURRENT_LIST_DIR}/frmview.cpp ${CMAKE_CURRENT_LIST_DIR}/frmview.h
)
target_link_libraries(trovik_view_windows PUBLIC trovik_view trovik_components trovik_reports Qt6::Widgets)
