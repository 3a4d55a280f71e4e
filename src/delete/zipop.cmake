# Zip before delete: the per-file archive step, the panel's zip operation
# and the archive settings (no widgets), and the zip options window.
target_sources(trovik_delete PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/archivebatch.cpp ${CMAKE_CURRENT_LIST_DIR}/archivebatch.h
  ${CMAKE_CURRENT_LIST_DIR}/zipoperation.cpp ${CMAKE_CURRENT_LIST_DIR}/zipoperation.h
  ${CMAKE_CURRENT_LIST_DIR}/zipsettings.cpp ${CMAKE_CURRENT_LIST_DIR}/zipsettings.h
)
target_link_libraries(trovik_delete PUBLIC trovik_zip)
target_sources(trovik_delete_windows PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frmzipoptions.cpp ${CMAKE_CURRENT_LIST_DIR}/frmzipoptions.h
)
