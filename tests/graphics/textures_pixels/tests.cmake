# The cases that need real pixels run under xvfb-run with the Burnings
# renderer (HALVANE_PIXEL_TESTS switches them on; elsewhere they are
# skipped); the shader case needs OpenGL and runs alone in its process with
# an LSan suppression for the GL driver's libraries, which leak at exit.
find_program(XVFB_RUN xvfb-run REQUIRED)
# -noreset: Xvfb otherwise restarts when its last client closes and refuses
# the connection of the next device made right after.
set(xvfb_screen -a -s "-screen 0 1024x768x24 -noreset")

add_test(NAME graphics/textures_pixels/burnings
    COMMAND ${XVFB_RUN} ${xvfb_screen} $<TARGET_FILE:${name}> --gtest_filter=-ShaderOpenGlTest.*)
set_tests_properties(graphics/textures_pixels/burnings PROPERTIES
    ENVIRONMENT "${HALVANE_TEST_ENVIRONMENT};HALVANE_PIXEL_TESTS=1")

add_test(NAME graphics/textures_pixels/opengl
    COMMAND ${XVFB_RUN} ${xvfb_screen} $<TARGET_FILE:${name}> --gtest_filter=ShaderOpenGlTest.*)
set_tests_properties(graphics/textures_pixels/opengl PROPERTIES
    ENVIRONMENT "${HALVANE_TEST_ENVIRONMENT};HALVANE_OPENGL_TESTS=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/graphics/engine/opengl.supp")
set(display_suites "*")
