# The pixel cases run under xvfb-run with the Burnings renderer
# (HALVANE_PIXEL_TESTS switches them on; elsewhere they are skipped).
find_program(XVFB_RUN xvfb-run REQUIRED)
# -noreset: Xvfb otherwise restarts when its last client closes and refuses
# the connection of the next device made right after.
add_test(NAME graphics/scene/pixels
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24 -noreset" $<TARGET_FILE:${name}>
        --gtest_filter=ScenePixelTest.*)
set_tests_properties(graphics/scene/pixels PROPERTIES
    ENVIRONMENT "${HALVANE_TEST_ENVIRONMENT};HALVANE_PIXEL_TESTS=1")
set(display_suites ScenePixelTest)
