# The demo skins are painted and packed at build time; the tests read the
# packed files and the main form resource that carries them.
add_dependencies(${exe} demo_skins)
if(TARGET unit1_form)
  add_dependencies(${exe} unit1_form)
elseif(TARGET Project1)
  add_dependencies(${exe} Project1)  # builds app/Unit1.qfm on the way
endif()
target_compile_definitions(${exe} PRIVATE
  QZ_SKINS_DIR="${PROJECT_BINARY_DIR}/skins"
  QZ_UNIT1_FORM="${PROJECT_BINARY_DIR}/app/Unit1.qfm")

# The contact sheet tool renders both demo skins without failing (the
# sheets it writes here are for looking at; the skin_sheets target writes
# the ones in the skins folder).
add_dependencies(${exe} skinsheet)
foreach(skin_name skin dialog)
  add_test(NAME skinsheet_${skin_name}
           COMMAND skinsheet ${PROJECT_BINARY_DIR}/skins/${skin_name}.skn
                   ${CMAKE_CURRENT_BINARY_DIR}/skinsheet-${skin_name}.png)
  set_tests_properties(skinsheet_${skin_name} PROPERTIES LABELS "skins")
endforeach()
