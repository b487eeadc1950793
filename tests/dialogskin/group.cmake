# The dialog skin's painters live in skins/; the tests compile them in
# directly, with the generator's painter and skin builder.
file(GLOB dialogskin_sources CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/skins/DialogSkin*.cpp)
target_sources(${exe} PRIVATE
  ${dialogskin_sources}
  ${PROJECT_SOURCE_DIR}/tools/skingen/Paint.cpp
  ${PROJECT_SOURCE_DIR}/tools/skingen/SkinBuilder.cpp)
target_include_directories(${exe} PRIVATE ${PROJECT_SOURCE_DIR})
