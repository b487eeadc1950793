# The generator's painting and builder code lives in tools/skingen; the
# tests compile it in directly.
target_sources(${exe} PRIVATE
  ${PROJECT_SOURCE_DIR}/tools/skingen/Paint.cpp
  ${PROJECT_SOURCE_DIR}/tools/skingen/SkinBuilder.cpp)
target_include_directories(${exe} PRIVATE ${PROJECT_SOURCE_DIR})
