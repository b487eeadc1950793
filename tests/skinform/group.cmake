# The demo skins are painted and packed at build time; the frame tests read
# the packed files.
add_dependencies(${exe} demo_skins)
target_compile_definitions(${exe} PRIVATE QZ_SKINS_DIR="${PROJECT_BINARY_DIR}/skins")
