# The engine's libraries: the host framework (host/) and the skin engine
# (skin/), and qzall, alias qzskin::qzskin, the one target programs link.
#
# Classes register themselves from static initialisers (QZ_PUBLISHED blocks:
# published classes and properties, form resource classes), and a form
# resource may name a class that no code refers to directly. The sources
# that carry such blocks are found by their QZ_PUBLISHED blocks when CMake
# configures (a block added to an existing file needs a re-run of cmake;
# test_registration names any published class a program lacks).
#
# Static (the default): qzhost and qzskin are ordinary archives, linked only
# as far as used; the registering sources go into qzregistered, which qzall
# links whole (and first, so they are there for the archives that call them
# and that they call). A program linking qzall gets every published class.
# Shared (BUILD_SHARED_LIBS=ON): one library, libqzskin.so, holding both;
# loading it runs every registration.
include(GNUInstallDirs)

file(GLOB_RECURSE QZHOST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/host/*.cpp)
# The optional SDL2 backend is added below when SDL2 is there.
list(FILTER QZHOST_SOURCES EXCLUDE REGEX "/host/platform/sdl/[^/]*$")
# The StatusNotifierItem tray (libdbus-1) is added below when dbus-1 is there.
list(FILTER QZHOST_SOURCES EXCLUDE REGEX "/host/platform/sni/[^/]*$")
file(GLOB_RECURSE QZSKIN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/skin/*.cpp)
set(QZ_REGISTERED_SOURCES)
foreach(src IN LISTS QZHOST_SOURCES QZSKIN_SOURCES)
  file(STRINGS ${src} blocks REGEX "^[ \t]*QZ_PUBLISHED\\(")
  if(blocks)
    list(APPEND QZ_REGISTERED_SOURCES ${src})
  endif()
endforeach()
list(REMOVE_ITEM QZHOST_SOURCES ${QZ_REGISTERED_SOURCES})
list(REMOVE_ITEM QZSKIN_SOURCES ${QZ_REGISTERED_SOURCES})

# The installed targets are qzskin::host, qzskin::engine, qzskin::registered
# (static only) and qzskin::qzskin.
if(BUILD_SHARED_LIBS)
  add_library(qzskin SHARED ${QZHOST_SOURCES} ${QZSKIN_SOURCES} ${QZ_REGISTERED_SOURCES})
  set_target_properties(qzskin PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
  set(QZ_BASE_LIBRARY qzskin)  # where the host framework's sources and needs go
  set(QZ_LIBRARY_TARGETS qzskin)
else()
  add_library(qzhost STATIC ${QZHOST_SOURCES})
  add_library(qzskin STATIC ${QZSKIN_SOURCES})
  target_link_libraries(qzskin PUBLIC qzhost)
  add_library(qzregistered STATIC ${QZ_REGISTERED_SOURCES})
  target_link_libraries(qzregistered PUBLIC qzskin)
  set_target_properties(qzhost PROPERTIES EXPORT_NAME host)
  set_target_properties(qzregistered PROPERTIES EXPORT_NAME registered)
  set(QZ_BASE_LIBRARY qzhost)
  set(QZ_LIBRARY_TARGETS qzhost qzskin qzregistered)
endif()
set_target_properties(qzskin PROPERTIES EXPORT_NAME engine)

target_include_directories(${QZ_BASE_LIBRARY} PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/qzskin>)
target_compile_features(${QZ_BASE_LIBRARY} PUBLIC cxx_std_20)
target_link_libraries(${QZ_BASE_LIBRARY} PUBLIC
  ZLIB::ZLIB Freetype::Freetype Fontconfig::Fontconfig Threads::Threads)
# libdbus only where it is used: its include folders on the one source that
# talks to the bus (the other sources keep their compile lines), the library
# itself linked.
set_source_files_properties(${PROJECT_SOURCE_DIR}/host/shell/FileManager.cpp PROPERTIES
  INCLUDE_DIRECTORIES "${DBUS_INCLUDE_DIRS}" SKIP_PRECOMPILE_HEADERS ON)
target_link_libraries(${QZ_BASE_LIBRARY} PRIVATE ${DBUS_LINK_LIBRARIES})
# Thumbnails: JPEG decoding (libjpeg-turbo) and the cache's MD5 names (libmd).
find_package(JPEG REQUIRED)
target_link_libraries(${QZ_BASE_LIBRARY} PUBLIC JPEG::JPEG md)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/host/shell/Thumbnails.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS QZ_VERSION="${PROJECT_VERSION}")
set(QZ_WITH_SDL2 OFF)
if(SDL2_FOUND)
  file(GLOB QZHOST_SDL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/host/platform/sdl/*.cpp)
  if(QZHOST_SDL_SOURCES)
    target_sources(${QZ_BASE_LIBRARY} PRIVATE ${QZHOST_SDL_SOURCES})
    pkg_check_modules(XLIBS REQUIRED IMPORTED_TARGET x11 xext xtst)
    target_link_libraries(${QZ_BASE_LIBRARY} PUBLIC PkgConfig::SDL2 PkgConfig::XLIBS)
    target_compile_definitions(${QZ_BASE_LIBRARY} PUBLIC QZ_HAVE_SDL2=1)
    set(QZ_WITH_SDL2 ON)
  endif()
endif()

# The tray on the session bus, for the SDL2/X11 platform.
set(QZ_WITH_DBUS OFF)
pkg_check_modules(QZDBUS QUIET IMPORTED_TARGET dbus-1)
if(QZDBUS_FOUND)
  file(GLOB QZHOST_SNI_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/host/platform/sni/*.cpp)
  target_sources(${QZ_BASE_LIBRARY} PRIVATE ${QZHOST_SNI_SOURCES})
  # Only the tray's sources see it: other targets keep their flags.
  target_link_libraries(${QZ_BASE_LIBRARY} PRIVATE PkgConfig::QZDBUS)
  set_source_files_properties(${QZHOST_SNI_SOURCES} ${PROJECT_SOURCE_DIR}/host/platform/sdl/SdlTray.cpp
    PROPERTIES COMPILE_DEFINITIONS QZ_HAVE_DBUS=1)
  set(QZ_WITH_DBUS ON)
endif()

# What every program links: the whole engine, every published class in it.
add_library(qzall INTERFACE)
set_target_properties(qzall PROPERTIES EXPORT_NAME qzskin)
if(BUILD_SHARED_LIBS)
  target_link_libraries(qzall INTERFACE qzskin)
else()
  # The exported target names the installed archive by its namespaced name.
  target_link_libraries(qzall INTERFACE
    "$<BUILD_INTERFACE:$<LINK_LIBRARY:WHOLE_ARCHIVE,qzregistered>>"
    "$<INSTALL_INTERFACE:$<LINK_LIBRARY:WHOLE_ARCHIVE,qzskin::registered>>")
endif()
add_library(qzskin::qzskin ALIAS qzall)

# Under the sanitizers every program links the leak suppressions of
# scripts/lsan.supp (allocations the system libraries keep for the life of
# the process, such as fontconfig's configuration and application fonts), so
# that it is clean when run by hand as well as under ./test.
if(QZ_SANITIZE OR QZ_FUZZ)
  file(STRINGS ${PROJECT_SOURCE_DIR}/scripts/lsan.supp lsan_lines REGEX "^leak:")
  set(QZ_LSAN_SUPPRESSIONS "")
  foreach(line IN LISTS lsan_lines)
    string(APPEND QZ_LSAN_SUPPRESSIONS "\n    \"${line}\\n\"")
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scripts/lsan.supp)
  configure_file(cmake/QzLsanDefaults.cpp.in ${PROJECT_BINARY_DIR}/QzLsanDefaults.cpp @ONLY)
  # Programs only: a library (the demo's object library) that carried it
  # too would define it twice in the program.
  target_sources(qzall INTERFACE
    "$<BUILD_INTERFACE:$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:${PROJECT_BINARY_DIR}/QzLsanDefaults.cpp>>")
endif()
