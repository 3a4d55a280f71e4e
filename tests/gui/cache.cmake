# Window tests of the internet cache clean-up.
trovik_add_test(gui_cache_test
  ${CMAKE_CURRENT_SOURCE_DIR}/frmcache_test.cpp
  LIBS trovik_finders_windows trovik_app Qt6::Test)
