# The pixel cases need an X display: they run in a test of their own under
# xvfb-run, which also switches them on (elsewhere they are skipped).
find_program(XVFB_RUN xvfb-run REQUIRED)
add_test(NAME graphics/engine/pixels
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24" $<TARGET_FILE:${name}> --gtest_filter=PixelTest.*)
set_tests_properties(graphics/engine/pixels PROPERTIES
    ENVIRONMENT "${HALVANE_TEST_ENVIRONMENT};HALVANE_PIXEL_TESTS=1")
