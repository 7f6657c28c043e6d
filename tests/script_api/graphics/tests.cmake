# The bundled example opens the graphics device: the NULL driver without a
# display, the software renderer's window under a virtual X server. Each
# run must end with status 0 and name the driver it opened.
set(example_main "${PROJECT_SOURCE_DIR}/examples/hello/main.lua")
set(example_check [=[out=$("$@") || exit 1; printf '%s\n' "$out"; printf '%s\n' "$out" | grep -qF "$HALVANE_EXPECT"]=])

add_test(NAME examples/hello/headless
    COMMAND bash -c "${example_check}" example env DISPLAY= $<TARGET_FILE:halvane> ${example_main})
set_tests_properties(examples/hello/headless PROPERTIES
    ENVIRONMENT "${HALVANE_TEST_ENVIRONMENT};HALVANE_EXPECT=Graphics: NULL, 320 x 240, 32 bits")

add_test(NAME examples/hello/window
    COMMAND bash -c "${example_check}" example ${XVFB_RUN} -a -s "-screen 0 1024x768x24 -noreset"
        $<TARGET_FILE:halvane> ${example_main})
set_tests_properties(examples/hello/window PROPERTIES
    ENVIRONMENT "${HALVANE_TEST_ENVIRONMENT};HALVANE_EXPECT=Graphics: SOFTWARE, 320 x 240, 32 bits")

# initEx into a window of the test's own needs an X display.
target_link_libraries(${name} PRIVATE PkgConfig::X11)
add_test(NAME script_api/graphics/window
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24 -noreset" $<TARGET_FILE:${name}>
        --gtest_filter=IGraphicsWindow.*)
set_tests_properties(script_api/graphics/window PROPERTIES
    ENVIRONMENT "${HALVANE_TEST_ENVIRONMENT};HALVANE_PIXEL_TESTS=1")
set(display_suites IGraphicsWindow)
