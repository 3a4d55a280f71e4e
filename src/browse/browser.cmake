# The folder browser. The engine reads a folder once for its tree and its
# grid; the window reuses the result windows' marks and sorts, and hands
# files to the deletion panel and folders to the folder deletion window.
# The finder windows reach it through the hook in trovik_browse.
target_sources(trovik_browse PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/browsehook.cpp ${CMAKE_CURRENT_LIST_DIR}/browsehook.h)

add_library(trovik_browser STATIC
  ${CMAKE_CURRENT_LIST_DIR}/folderlisting.cpp ${CMAKE_CURRENT_LIST_DIR}/folderlisting.h
)
target_link_libraries(trovik_browser PUBLIC trovik_core trovik_reports trovik_finders)

add_library(trovik_browser_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frmbrowse.cpp ${CMAKE_CURRENT_LIST_DIR}/frmbrowse_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmbrowse.h
)
target_link_libraries(trovik_browser_windows PUBLIC
  trovik_browser trovik_browse_windows trovik_finders_windows trovik_delete_windows)
