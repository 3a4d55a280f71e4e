# The deletion panel window.
add_library(trovik_delete_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frmreallydelete.cpp ${CMAKE_CURRENT_LIST_DIR}/frmreallydelete.h
)
target_link_libraries(trovik_delete_windows PUBLIC trovik_delete trovik_components Qt6::Widgets)
