# The StatusNotifierItem tests talk to a private bus of their own (a
# dbus-daemon started by the test) through libdbus-1 as the watcher does.
if(TARGET PkgConfig::QZDBUS)
  target_link_libraries(${exe} PRIVATE PkgConfig::QZDBUS)
  target_compile_definitions(${exe} PRIVATE QZ_HAVE_DBUS=1)
endif()
