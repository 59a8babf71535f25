# Fuzz target of the GEDCOM reader, beside the archive expander's. With clang
# it is a libFuzzer program whose reader sources carry coverage; with another
# compiler it replays the files named on its command line.
file(GLOB fuzz_gedcom_srcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/gedcom/*.cpp")
add_executable(fuzz_gedcom ${CMAKE_SOURCE_DIR}/fuzz/fuzz_gedcom.cpp ${fuzz_gedcom_srcs})
target_include_directories(fuzz_gedcom PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(fuzz_gedcom PRIVATE brenthaul_model brenthaul_platform)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  target_compile_options(fuzz_gedcom PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(fuzz_gedcom PRIVATE -fsanitize=fuzzer,address,undefined)
else()
  target_compile_definitions(fuzz_gedcom PRIVATE BRENTHAUL_FUZZ_REPLAY_MAIN)
endif()
set_target_properties(fuzz_gedcom PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
