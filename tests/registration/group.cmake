# The tests read the library and demo sources to learn which classes they
# publish and which the demo forms name.
target_compile_definitions(${exe} PRIVATE QZ_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
