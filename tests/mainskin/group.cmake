# The main skin's painters live in skins/; the tests compile them in
# directly, with the generator's painter and skin builder.
file(GLOB mainskin_sources CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/skins/MainSkin*.cpp)
target_sources(${exe} PRIVATE
  ${mainskin_sources}
  ${PROJECT_SOURCE_DIR}/tools/skingen/Paint.cpp
  ${PROJECT_SOURCE_DIR}/tools/skingen/SkinBuilder.cpp)
target_include_directories(${exe} PRIVATE ${PROJECT_SOURCE_DIR})
