# The HTTP client: one small resource at a time, awaited in a local event
# loop (no widgets).
add_library(trovik_http STATIC httpclient.cpp httpclient.h)
target_include_directories(trovik_http PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(trovik_http PUBLIC Qt6::Core Qt6::Network)
