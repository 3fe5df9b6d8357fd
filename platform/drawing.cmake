# Drawing and printing of the chart through Qt: the painter surface, the off-screen buffer, the
# view's draw routine for windows and printers, deferred draw messages, print and preview.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
add_library(platform_drawing STATIC
    ${CMAKE_CURRENT_LIST_DIR}/cchartprinter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cdrawmessages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chartdrawview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clocaledatetime.cpp
    ${CMAKE_CURRENT_LIST_DIR}/coffscreendc.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cqtpaintersurface.cpp
)
target_include_directories(platform_drawing PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(platform_drawing PUBLIC QT_NO_CONTEXTLESS_CONNECT)
target_link_libraries(platform_drawing PUBLIC chart Qt6::Widgets Qt6::PrintSupport PRIVATE warnings)
