# Window tests of the file details window and the duplicate pair window.
trovik_add_test(gui_details_test
  ${CMAKE_CURRENT_SOURCE_DIR}/details_window_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/dupcompare_window_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/browse/pebuilder.cpp
  LIBS trovik_finders_windows trovik_app Qt6::Test)
if(TARGET browse_pe_fixtures)
  add_dependencies(gui_details_test browse_pe_fixtures)
  target_compile_definitions(gui_details_test PRIVATE
    TROVIK_PE_FIXTURES="${CMAKE_BINARY_DIR}/tests/browse")
endif()
