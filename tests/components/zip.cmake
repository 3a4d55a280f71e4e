# The zip codec: writer, recovery, safe extraction, and the external tools.
trovik_add_test(components_zip_test
  zip_writer_test.cpp
  zip_recovery_test.cpp
  zip_extract_test.cpp
  zip_interop_test.cpp
  zip_crash_test.cpp
  zip_layout_test.cpp
  zip_lock_test.cpp
  zip_hostile_test.cpp
  zip_leftover_test.cpp
  zip_testutil.h
  LIBS trovik_zip)

# Killed at random moments by the crash test.
add_executable(zip_crash_child zip_crash_child.cpp)
target_link_libraries(zip_crash_child PRIVATE trovik_zip Qt6::Core)
add_dependencies(components_zip_test zip_crash_child)
target_compile_definitions(components_zip_test PRIVATE ZIP_CRASH_CHILD="$<TARGET_FILE:zip_crash_child>")

# Killed half way through a restore by the leftover test.
add_executable(zip_restore_child zip_restore_child.cpp)
target_link_libraries(zip_restore_child PRIVATE trovik_zip Qt6::Core)
add_dependencies(components_zip_test zip_restore_child)
target_compile_definitions(components_zip_test PRIVATE ZIP_RESTORE_CHILD="$<TARGET_FILE:zip_restore_child>")

# libFuzzer target for the archive reader: clang only, off by default (see
# tests/fuzz/README.md). The codec's sources are compiled into it with the
# fuzzer's instrumentation.
option(TROVIK_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(TROVIK_FUZZ)
  file(GLOB _trovik_zip_sources ${PROJECT_SOURCE_DIR}/src/components/zip/*.cpp)
  add_executable(zipreader_fuzz ${PROJECT_SOURCE_DIR}/tests/fuzz/zipreader_fuzz.cpp ${_trovik_zip_sources})
  target_include_directories(zipreader_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(zipreader_fuzz PRIVATE -fsanitize=fuzzer,address)
  target_link_options(zipreader_fuzz PRIVATE -fsanitize=fuzzer,address)
  target_link_libraries(zipreader_fuzz PRIVATE trovik_platform Qt6::Core ZLIB::ZLIB)
endif()
