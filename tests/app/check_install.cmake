# Installs into PREFIX and checks what a desktop needs: binary, menu entry, icon, .qbl type.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${result}")
endif()

foreach(f bin/quorbel share/applications/quorbel.desktop
        share/icons/hicolor/scalable/apps/quorbel.svg
        share/icons/hicolor/scalable/mimetypes/application-x-quorbel.svg
        share/mime/packages/quorbel.xml)
    if(NOT EXISTS ${PREFIX}/${f})
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()

file(READ ${PREFIX}/share/applications/quorbel.desktop desktop)
foreach(line "[Desktop Entry]" "Type=Application" "Name=Quorbel" "Exec=quorbel %f" "Icon=quorbel"
        "MimeType=application/x-quorbel;")
    string(FIND "${desktop}" "${line}" at)
    if(at LESS 0)
        message(FATAL_ERROR "desktop entry lacks ${line}")
    endif()
endforeach()

file(READ ${PREFIX}/share/mime/packages/quorbel.xml mime)
foreach(part "type=\"application/x-quorbel\"" "<glob pattern=\"*.qbl\"/>" "Quorbel Document")
    string(FIND "${mime}" "${part}" at)
    if(at LESS 0)
        message(FATAL_ERROR "MIME type lacks ${part}")
    endif()
endforeach()
