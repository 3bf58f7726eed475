# Native build: the portable code and its unit tests.
file(GLOB native_test_sources CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(native_tests ${native_test_sources})
target_link_libraries(native_tests PRIVATE tapvane_portable gtest gtest_main)
target_compile_options(native_tests PRIVATE ${warnings})
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
