# The camera processor is the module's own code: the tests compile it in.
target_sources(${name} PRIVATE "${PROJECT_SOURCE_DIR}/lenscart/CameraProcessor.cpp")
