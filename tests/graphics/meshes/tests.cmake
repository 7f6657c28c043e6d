# Script tests that load models write the fixtures with this program
# (HALVANE_TEST_MODEL_WRITER in their environment).
add_executable(write_test_models "${folder}/tools/WriteTestModels.cpp")
target_compile_options(write_test_models PRIVATE ${HALVANE_WARNINGS})
target_include_directories(write_test_models PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}")
target_link_libraries(write_test_models PRIVATE ZLIB::ZLIB)
