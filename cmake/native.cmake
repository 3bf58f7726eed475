# Native build: the portable layers and their unit tests.
file(GLOB native_test_sources CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(native_tests ${native_test_sources})
target_link_libraries(native_tests PRIVATE app gtest gtest_main)
target_compile_options(native_tests PRIVATE ${warnings})
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
target_compile_definitions(native_tests PRIVATE TAPVANE_VERSION="${PROJECT_VERSION}")
