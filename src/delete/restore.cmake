# Archive restore: the engine (no widgets) and its windows.
target_sources(trovik_delete PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/restore.cpp ${CMAKE_CURRENT_LIST_DIR}/restore.h
)
target_link_libraries(trovik_delete PUBLIC trovik_zip)
if(TARGET trovik_delete_windows)
  target_sources(trovik_delete_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/folderlistbox.cpp ${CMAKE_CURRENT_LIST_DIR}/folderlistbox.h
    ${CMAKE_CURRENT_LIST_DIR}/frmpassword.cpp ${CMAKE_CURRENT_LIST_DIR}/frmpassword.h
    ${CMAKE_CURRENT_LIST_DIR}/frmgetfoldername.cpp ${CMAKE_CURRENT_LIST_DIR}/frmgetfoldername.h
    ${CMAKE_CURRENT_LIST_DIR}/frmzipdirectory.cpp ${CMAKE_CURRENT_LIST_DIR}/frmzipdirectory.h
    ${CMAKE_CURRENT_LIST_DIR}/frmunzipit.cpp ${CMAKE_CURRENT_LIST_DIR}/frmunzipit.h
  )
endif()
