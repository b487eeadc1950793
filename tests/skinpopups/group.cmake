# The caption-object hint tests dress a window with the packed demo skins.
add_dependencies(${exe} demo_skins)
target_compile_definitions(${exe} PRIVATE QZ_SKINS_DIR="${CMAKE_BINARY_DIR}/skins")
