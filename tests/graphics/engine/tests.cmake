# The cases that need an X display run in tests of their own under
# xvfb-run, which also switches them on (elsewhere they are skipped): the
# Burnings pixel cases, and the OpenGL case alone in its process with an
# LSan suppression for the GL driver's libraries, which leak at exit.
target_link_libraries(${name} PRIVATE PkgConfig::X11)
find_program(XVFB_RUN xvfb-run REQUIRED)
# -noreset: Xvfb otherwise restarts when its last client closes and refuses
# the connection of the next device made right after.
set(xvfb_screen -a -s "-screen 0 1024x768x24 -noreset")

add_test(NAME graphics/engine/pixels
    COMMAND ${XVFB_RUN} ${xvfb_screen} $<TARGET_FILE:${name}> --gtest_filter=PixelTest.*)
set_tests_properties(graphics/engine/pixels PROPERTIES
    ENVIRONMENT "${HALVANE_TEST_ENVIRONMENT};HALVANE_PIXEL_TESTS=1")

add_test(NAME graphics/engine/opengl
    COMMAND ${XVFB_RUN} ${xvfb_screen} $<TARGET_FILE:${name}> --gtest_filter=OpenGlTest.*)
add_test(NAME graphics/engine/opengl_screenshot
    COMMAND ${XVFB_RUN} ${xvfb_screen} $<TARGET_FILE:${name}> --gtest_filter=OpenGlScreenShotTest.*)
set_tests_properties(graphics/engine/opengl graphics/engine/opengl_screenshot PROPERTIES
    ENVIRONMENT "${HALVANE_TEST_ENVIRONMENT};HALVANE_OPENGL_TESTS=1;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/opengl.supp")
set(display_suites PixelTest OpenGlTest OpenGlScreenShotTest)
