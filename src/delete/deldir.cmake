# Folder deletion: the engine (no widgets) and its window.
target_sources(trovik_delete PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/folderdeletion.cpp ${CMAKE_CURRENT_LIST_DIR}/folderdeletion.h
)
target_link_libraries(trovik_delete PUBLIC trovik_zip)
target_sources(trovik_delete_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/zipoptionsstep.cpp ${CMAKE_CURRENT_LIST_DIR}/zipoptionsstep.h
  ${CMAKE_CURRENT_LIST_DIR}/frmdeldirectory.cpp ${CMAKE_CURRENT_LIST_DIR}/frmdeldirectory.h
)
