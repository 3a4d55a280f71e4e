# Window tests of the Safe Harbor editor: the folder list with its builder,
# the edit window, the protected extensions, and the launcher's button.
trovik_add_test(gui_harbor_test
  ${CMAKE_CURRENT_SOURCE_DIR}/nodelete_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/editfolder_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/keepfiles_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/realbuild_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/harborfixture.h
  LIBS trovik_harbor_windows trovik_app Qt6::Test)
