# Precompiled headers: most sources include much of the standard library and
# the framework's heaviest headers (the component model, the control tree,
# the skin data: each preprocesses to some 85,000 lines), and tests add
# GoogleTest. Parsed once per build instead of once per source, they take
# about half of the compile time of a source.
#
# Three headers are made, each once, by a small object library of its own,
# and every other target reuses one of them:
#   qzpch_host    the framework's headers, for the libraries themselves
#                 (host sources never see the engine's headers);
#   qzpch_engine  with the skin data and control base, for programs;
#   qzpch_tests   with GoogleTest, for the test programs.
# Headers still include what they use: the check of the installed package
# builds a program and the example without any precompiled header.
# Included at the end of the top-level CMakeLists.txt, when every target is
# known.
option(QZ_PCH "Precompile the heaviest headers (GCC, Clang)" ON)
if(NOT QZ_PCH OR QZ_FUZZ OR NOT CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$")
  return()
endif()

set(qz_pch_host_headers
  <algorithm> <functional> <map> <memory> <optional> <string> <vector>
  ${PROJECT_SOURCE_DIR}/host/components/Component.h
  ${PROJECT_SOURCE_DIR}/host/ui/Controls.h)
set(qz_pch_engine_headers ${qz_pch_host_headers}
  ${PROJECT_SOURCE_DIR}/skin/data/SkinData.h
  ${PROJECT_SOURCE_DIR}/skin/controls/SkinControl.h)

add_library(qzpch_host OBJECT ${PROJECT_SOURCE_DIR}/cmake/QzPch.cpp)
# What the library compiles with (its folders, definitions and the usage
# requirements of what it links), without linking the library itself: the
# library depends on this header, not the other way round.
get_target_property(qz_base_links ${QZ_BASE_LIBRARY} LINK_LIBRARIES)
target_link_libraries(qzpch_host PRIVATE ${qz_base_links})
target_include_directories(qzpch_host PRIVATE
  $<TARGET_PROPERTY:${QZ_BASE_LIBRARY},INCLUDE_DIRECTORIES>)
target_compile_definitions(qzpch_host PRIVATE
  $<TARGET_PROPERTY:${QZ_BASE_LIBRARY},COMPILE_DEFINITIONS>)
target_precompile_headers(qzpch_host PRIVATE ${qz_pch_host_headers})

add_library(qzpch_engine OBJECT ${PROJECT_SOURCE_DIR}/cmake/QzPch.cpp)
target_link_libraries(qzpch_engine PRIVATE qzall)
target_precompile_headers(qzpch_engine PRIVATE ${qz_pch_engine_headers})

if(QZ_TESTS)
  find_package(GTest REQUIRED)  # its targets are seen only where it is found
  add_library(qzpch_tests OBJECT ${PROJECT_SOURCE_DIR}/cmake/QzPch.cpp)
  target_link_libraries(qzpch_tests PRIVATE qzall GTest::gtest GTest::gmock)
  target_precompile_headers(qzpch_tests PRIVATE ${qz_pch_engine_headers} <gtest/gtest.h> <gmock/gmock.h>)
  # Compiled as the test programs are (tests/CMakeLists.txt).
  target_compile_options(qzpch_tests PRIVATE ${QZ_TEST_OPTIMIZATION})
endif()

# Every target of the build tree, folder by folder.
function(qz_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    qz_collect_targets(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

qz_collect_targets(${PROJECT_SOURCE_DIR} qz_all_targets)
foreach(target IN LISTS qz_all_targets)
  get_target_property(type ${target} TYPE)
  if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$"
     OR target MATCHES "^qzpch_")
    continue()
  endif()
  get_target_property(links ${target} LINK_LIBRARIES)
  if(target IN_LIST QZ_LIBRARY_TARGETS)
    target_precompile_headers(${target} REUSE_FROM qzpch_host)
  elseif(TARGET qzpch_tests AND "GTest::gtest" IN_LIST links)
    target_precompile_headers(${target} REUSE_FROM qzpch_tests)
  else()
    target_precompile_headers(${target} REUSE_FROM qzpch_engine)
  endif()
endforeach()
