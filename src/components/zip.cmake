# The zip codec: archives in the published ZIP format on zlib, written so
# that sources can be deleted safely, and read with safe extraction. No widgets.
add_library(trovik_zip STATIC
  zip/zipentry.h zip/zipentry.cpp
  zip/zipformat.h zip/zipformat.cpp
  zip/zipcrypt.h zip/zipcrypt.cpp
  zip/zipscan.h zip/zipscan.cpp
  zip/zipwriter.h zip/zipwriter.cpp
  zip/zipreader.h zip/zipreader.cpp
)
target_include_directories(trovik_zip PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(trovik_zip PUBLIC trovik_core trovik_platform Qt6::Core PRIVATE ZLIB::ZLIB)
