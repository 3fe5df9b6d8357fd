# The application shell: the `app` library (application, main frame, About box) and the
# `quorbel` executable, with its install rules.
find_package(Qt6 REQUIRED COMPONENTS Widgets Svg)

add_library(app STATIC
    ${CMAKE_CURRENT_LIST_DIR}/caboutdialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ckesto1app.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmainframe.cpp
    ${CMAKE_CURRENT_LIST_DIR}/crecentfilelist.cpp
    ${CMAKE_CURRENT_LIST_DIR}/makerinfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shelllayout.cpp
)
target_include_directories(app PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(app PUBLIC QT_NO_CONTEXTLESS_CONNECT)
target_link_libraries(app PUBLIC view platform_shell model quorbel_config Qt6::Widgets Qt6::Svg
    PRIVATE warnings)
if(TARGET dialogs)
    target_link_libraries(app PUBLIC dialogs)
endif()
qt_add_resources(app quorbel_resources
    PREFIX /quorbel
    BASE ${CMAKE_CURRENT_LIST_DIR}/resources
    FILES ${CMAKE_CURRENT_LIST_DIR}/resources/quorbel.svg
)

add_executable(quorbel ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(quorbel PRIVATE app warnings)
set_target_properties(quorbel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/app)

# Installed as a desktop program: the binary, its menu entry, the icon and the .qbl file type.
install(TARGETS quorbel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/quorbel.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/quorbel.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/quorbel.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
    RENAME application-x-quorbel.svg)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/quorbel-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quorbel.xml)
# Refresh the desktop's caches for a direct install; packagers (DESTDIR) run their own triggers.
install(CODE [[
    if(NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
        find_program(QUORBEL_UPDATE_MIME update-mime-database)
        find_program(QUORBEL_UPDATE_DESKTOP update-desktop-database)
        if(QUORBEL_UPDATE_MIME)
            execute_process(COMMAND ${QUORBEL_UPDATE_MIME} "${CMAKE_INSTALL_PREFIX}/share/mime"
                RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET)
        endif()
        if(QUORBEL_UPDATE_DESKTOP)
            execute_process(COMMAND ${QUORBEL_UPDATE_DESKTOP} "${CMAKE_INSTALL_PREFIX}/share/applications"
                RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET)
        endif()
    endif()
]])
