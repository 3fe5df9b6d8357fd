find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_executable(shell_tests
    ${CMAKE_CURRENT_LIST_DIR}/caboutdialog_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmainframe_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/crecentfilelist_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filecommands_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filesafety_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/printpreview_test.cpp
)
target_include_directories(shell_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(shell_tests PRIVATE app Qt6::Test qt_test_main warnings)
gtest_discover_tests(shell_tests DISCOVERY_TIMEOUT 60)
set_target_properties(shell_tests PROPERTIES AUTOMOC ON)

# `cmake --install` puts the program where a Linux desktop finds it.
add_test(NAME ShellInstall COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${CMAKE_BINARY_DIR}
    -DPREFIX=${CMAKE_CURRENT_BINARY_DIR}/install-check
    -P ${CMAKE_CURRENT_LIST_DIR}/check_install.cmake)
