# The window tests once more on a desktop as users run it: openbox and
# xcompmgr on each suite's private server (QZ_TEST_DESKTOP, see XvfbSuite.h).
# Left out: what is about the bare server itself (no compositor, no ARGB
# visual) or needs no windows. The label host_x11_desktop also matches
# `ctest -L host_x11`.
gtest_discover_tests(${exe}
  DISCOVERY_TIMEOUT 60
  TEST_PREFIX "desktop/"
  TEST_FILTER "SdlPlatformTest.*:MoveLoopTest.*:LayeredFormTest.*-SdlPlatformTest.PerPixelAlphaFallsBackToAShapeOfTheVisiblePixels:SdlPlatformTest.WakeupFromAnotherThreadEndsAnEndlessWait:SdlPlatformTest.CaptureTakesMovesOutsideTheWindow"
  PROPERTIES LABELS host_x11_desktop ENVIRONMENT "QZ_TEST_DESKTOP=1")
