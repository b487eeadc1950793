# The tests run the qzdialog program as a process, with the dialog skin it
# carries and with the packed demo skins.
add_dependencies(${exe} qzdialog demo_skins)
target_compile_definitions(${exe} PRIVATE QZ_SKINS_DIR="${PROJECT_BINARY_DIR}/skins")
