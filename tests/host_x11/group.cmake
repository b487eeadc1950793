# The skinned window tests read the demo skins the build packs.
add_dependencies(${exe} demo_skins)
target_compile_definitions(${exe} PRIVATE QZ_SKINS_DIR="${PROJECT_BINARY_DIR}/skins")
# The window tests once more on a desktop as users run it: openbox and
# xcompmgr on each suite's private server (QZ_TEST_DESKTOP, see XvfbSuite.h).
# Left out: what is about the bare server itself (no compositor, no ARGB
# visual) or needs no windows, and the empty window: under load openbox
# takes a one-pixel window over late and remaps it after its picture came
# (the picture put back then does not reach the screen). The label host_x11_desktop also matches
# `ctest -L host_x11`. They run alone: a window manager and a compositor
# that share the machine with other tests answer late enough to lose
# pictures a test is waiting for.
qz_add_gtests(${exe}
  RUN_SERIAL
  LABEL host_x11_desktop
  PREFIX "desktop/"
  FILTER "SdlPlatformTest.*:MoveLoopTest.*:LayeredFormTest.*:LayerBorderX11Test.*:SkinnedWindowX11Test.*-SdlPlatformTest.PerPixelAlphaFallsBackToAShapeOfTheVisiblePixels:SdlPlatformTest.WakeupFromAnotherThreadEndsAnEndlessWait:SdlPlatformTest.CaptureTakesMovesOutsideTheWindow:SdlPlatformTest.AnEmptyWindowShowsNothingUntilItHasASize"
  ENVIRONMENT "QZ_TEST_DESKTOP=1")

# qzdialog on the private server with the SDL platform, answered by keys
# typed with xdotool (the script starts its own Xvfb).
if(TARGET qzdialog)
  add_test(NAME qzdialog_x11 COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/host_x11/qzdialog_x11.sh $<TARGET_FILE:qzdialog>)
  set_tests_properties(qzdialog_x11 PROPERTIES LABELS host_x11 TIMEOUT 300)
endif()
