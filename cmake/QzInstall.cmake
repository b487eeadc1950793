# cmake --install: the libraries, the headers of host/ and skin/ (under
# include/qzskin/), the tools a user of the engine needs, the demo's packed
# skins, the CMake package (targets qzskin::*, qz_embed_resources) and
# qzskin.pc.
include(CMakePackageConfigHelpers)

set(QZ_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/qzskin)
set(QZ_INSTALL_SKINSDIR ${CMAKE_INSTALL_DATADIR}/qzskin/skins)

install(TARGETS ${QZ_LIBRARY_TARGETS} qzall EXPORT qzskinTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY host skin DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qzskin
  FILES_MATCHING PATTERN "*.h")
install(EXPORT qzskinTargets NAMESPACE qzskin:: DESTINATION ${QZ_INSTALL_CMAKEDIR})

# The tools a user of the engine gets; the others (skingen, formembed,
# pngtoolimages) serve the build of the demo. A tool not built is left out.
set(QZ_INSTALLED_TOOLS skinpack skinshot skinsheet qzdialog)
foreach(tool IN LISTS QZ_INSTALLED_TOOLS)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    if(BUILD_SHARED_LIBS)
      set_property(TARGET ${tool} PROPERTY INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
    endif()
  endif()
endforeach()

# The demo's two packed skins, for programs that want a skin to start with.
set(QZ_INSTALLED_SKINS OFF)
if(TARGET demo_skins)
  install(FILES ${PROJECT_BINARY_DIR}/skins/skin.skn ${PROJECT_BINARY_DIR}/skins/dialog.skn
    DESTINATION ${QZ_INSTALL_SKINSDIR})
  set(QZ_INSTALLED_SKINS ON)
endif()

configure_package_config_file(cmake/qzskinConfig.cmake.in
  ${PROJECT_BINARY_DIR}/qzskinConfig.cmake
  INSTALL_DESTINATION ${QZ_INSTALL_CMAKEDIR}
  PATH_VARS QZ_INSTALL_SKINSDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/qzskinConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/qzskinConfig.cmake
  ${PROJECT_BINARY_DIR}/qzskinConfigVersion.cmake
  cmake/QzResources.cmake cmake/QzEmbedFile.cmake
  DESTINATION ${QZ_INSTALL_CMAKEDIR})

# pkg-config: from archives, the registering objects are linked whole.
set(QZ_PC_REQUIRES "zlib freetype2 fontconfig libjpeg libmd")
if(QZ_WITH_SDL2)
  string(APPEND QZ_PC_REQUIRES " sdl2 x11 xext xtst")
endif()
if(QZ_WITH_DBUS)
  string(APPEND QZ_PC_REQUIRES " dbus-1")
endif()
if(BUILD_SHARED_LIBS)
  set(QZ_PC_LIBS "-lqzskin")
  set(QZ_PC_REQUIRES_FIELD "Requires.private: ${QZ_PC_REQUIRES}")
else()
  set(QZ_PC_LIBS "-Wl,--whole-archive -lqzregistered -Wl,--no-whole-archive -lqzskin -lqzhost")
  set(QZ_PC_REQUIRES_FIELD "Requires: ${QZ_PC_REQUIRES}")
endif()
# The prefix is found from where the file lies, so an install moved or made
# with `cmake --install --prefix` elsewhere still points at itself.
file(RELATIVE_PATH QZ_PC_PREFIX "/p/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/p")
string(REGEX REPLACE "/$" "" QZ_PC_PREFIX "${QZ_PC_PREFIX}")
configure_file(cmake/qzskin.pc.in ${PROJECT_BINARY_DIR}/qzskin.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/qzskin.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
