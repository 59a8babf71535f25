# Each subsystem folder is one library; its sources are picked up by glob so
# adding a file needs no build-file edit.
function(brenthaul_sources out dir)
  file(GLOB srcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp")
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# brenthaul_core(name [linked subsystems...]): display-free library brenthaul_<name>.
function(brenthaul_core name)
  brenthaul_sources(srcs ${name})
  set(target brenthaul_${name})
  if(srcs)
    add_library(${target} STATIC ${srcs})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    foreach(dep ${ARGN})
      if(TARGET brenthaul_${dep})
        target_link_libraries(${target} PUBLIC brenthaul_${dep})
      endif()
    endforeach()
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    foreach(dep ${ARGN})
      target_link_libraries(${target} INTERFACE brenthaul_${dep})
    endforeach()
  endif()
endfunction()

# brenthaul_qt(folder LINKS targets...): the library that uses Qt built from
# every source of one folder, brenthaul_<folder with / as _>, linking exactly
# the targets named. A folder of headers only gives an interface library.
function(brenthaul_qt dir)
  cmake_parse_arguments(arg "" "" "LINKS" ${ARGN})
  string(REPLACE "/" "_" target "brenthaul_${dir}")
  file(GLOB srcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp")
  if(srcs)
    file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.h")
    add_library(${target} STATIC ${srcs} ${headers})
    target_link_libraries(${target} PUBLIC ${arg_LINKS})
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${arg_LINKS})
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
  endif()
endfunction()

# brenthaul_test(name folder libs...): one GoogleTest program per folder of tests.
function(brenthaul_test name dir)
  file(GLOB srcs CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp")
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  if(NOT BRENTHAUL_CORE_ONLY)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    BRENTHAUL_SHARED_DATA="${BRENTHAUL_SHARED_DATA}"
    BRENTHAUL_REQUIRE_SHARED_DATA=$<BOOL:${BRENTHAUL_REQUIRE_SHARED_DATA}>
    BRENTHAUL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    BRENTHAUL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
endfunction()
