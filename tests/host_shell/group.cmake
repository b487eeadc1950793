# The file manager tests run a D-Bus service of their own.
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/host_shell/FileManagerTest.cpp PROPERTIES
  INCLUDE_DIRECTORIES "${DBUS_INCLUDE_DIRS}" SKIP_PRECOMPILE_HEADERS ON)
target_link_libraries(${exe} PRIVATE ${DBUS_LINK_LIBRARIES})
