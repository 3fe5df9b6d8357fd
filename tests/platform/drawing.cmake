find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
add_executable(platform_drawing_tests
    ${CMAKE_CURRENT_LIST_DIR}/drawing_surface_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/drawing_print_test.cpp
)
target_compile_definitions(platform_drawing_tests PRIVATE
    QUORBEL_TEST_OUTPUT_DIR="${CMAKE_CURRENT_BINARY_DIR}")
target_link_libraries(platform_drawing_tests PRIVATE platform_drawing qt_test_main warnings)
gtest_discover_tests(platform_drawing_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
