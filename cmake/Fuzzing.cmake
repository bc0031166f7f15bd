# The fuzz build (PROJECT_FUZZ=ON, clang only): every target of the project is compiled with
# libFuzzer's coverage instrumentation and with AddressSanitizer and UndefinedBehaviorSanitizer,
# undefined behaviour fatal, so that a fuzz target sees the coverage of every library it links
# and stops at the first fault. The fuzz targets link libFuzzer itself (fuzz/CMakeLists.txt).
if(PROJECT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "PROJECT_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
