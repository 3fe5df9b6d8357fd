# Shell part of the platform layer: message boxes, the settings store, file dialogs, the lock-key
# state and the program's pictures (toolbar icons, program icon, About picture).
find_package(Qt6 REQUIRED COMPONENTS Widgets Svg)
add_library(platform_shell STATIC
    ${CMAKE_CURRENT_LIST_DIR}/cmessageboxsink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cqtfiledialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cqtmessageboxes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/csettingsstore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/csysfslockkeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/messageboxes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shellpictures.cpp
)
target_include_directories(platform_shell PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(platform_shell PUBLIC QT_NO_CONTEXTLESS_CONNECT)
target_link_libraries(platform_shell PUBLIC model quorbel_config Qt6::Widgets PRIVATE warnings)
