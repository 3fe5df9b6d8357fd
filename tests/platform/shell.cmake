find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_executable(platform_shell_tests
    ${CMAKE_CURRENT_LIST_DIR}/csettingsstore_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shellplatform_test.cpp
)
target_link_libraries(platform_shell_tests PRIVATE platform_shell qt_test_main warnings)
gtest_discover_tests(platform_shell_tests DISCOVERY_TIMEOUT 60)
