# The control tests draw from the packed demo skins as well as synthetic ones.
add_dependencies(${exe} demo_skins)
target_compile_definitions(${exe} PRIVATE QZ_SKINS_DIR="${PROJECT_BINARY_DIR}/skins")

# The longest program under the sanitizers runs as three shards.
set(group_shards 3)
