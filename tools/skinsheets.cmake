# Contact sheets of the two demo skins (not part of ALL):
#
#   cmake --build <build> --target skin_sheets
#
# writes <build>/skins/skin-sheet.png and <build>/skins/dialog-sheet.png:
# each skin's main picture composed at its window's size and every
# description's looks at their own, a larger and a smaller size, with the
# faults of the skin (rectangles outside their pictures ...) in red.
#
# Included from app/CMakeLists.txt after the demo_skins target, where
# skins_dir (${PROJECT_BINARY_DIR}/skins) is set.
set(skin_sheet_files ${skins_dir}/skin-sheet.png ${skins_dir}/dialog-sheet.png)
add_custom_command(
  OUTPUT ${skin_sheet_files}
  COMMAND skinsheet ${skins_dir}/skin.skn ${skins_dir}/skin-sheet.png
  COMMAND skinsheet ${skins_dir}/dialog.skn ${skins_dir}/dialog-sheet.png
  DEPENDS skinsheet ${skins_dir}/skin.skn ${skins_dir}/dialog.skn
  COMMENT "Rendering the contact sheets of the demo skins"
  VERBATIM)
add_custom_target(skin_sheets DEPENDS ${skin_sheet_files})
# The skin files come from demo_skins' command; the target order keeps one
# generator from running that command a second time for this target.
add_dependencies(skin_sheets demo_skins)
