# Installs into PREFIX and checks what a desktop needs (binaries, menu entry, icons, .qbl type,
# metainfo, manual pages, completion), then installs again through DESTDIR and checks that
# nothing lands outside DESTDIR/PREFIX.
function(install_into prefix destdir)
    file(REMOVE_RECURSE ${prefix} ${destdir})
    set(ENV{DESTDIR} "${destdir}")
    execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
        RESULT_VARIABLE result OUTPUT_QUIET)
    unset(ENV{DESTDIR})
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "install into ${destdir}${prefix} failed: ${result}")
    endif()
endfunction()

install_into(${PREFIX} "")
set(expected bin/quorbel bin/quorbel-cli ${LIBDIR}/quorbel/modules/quorbel-cli-pictures.so
    ${LIBDIR}/quorbel/modules/quorbel-cli-plot.so
    share/applications/quorbel.desktop
    share/icons/hicolor/scalable/apps/quorbel.svg
    share/icons/hicolor/scalable/mimetypes/application-x-quorbel.svg
    share/mime/packages/quorbel.xml
    share/metainfo/example.quorbel.quorbel.metainfo.xml
    share/man/man1/quorbel.1.gz share/man/man1/quorbel-cli.1.gz
    share/bash-completion/completions/quorbel-cli
    share/doc/quorbel/copyright share/doc/quorbel/changelog.gz)
foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/quorbel.png
        share/icons/hicolor/${size}x${size}/mimetypes/application-x-quorbel.png)
endforeach()
foreach(f IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${f})
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()
# The installed tool finds its picture writers' module from its own folder.
execute_process(COMMAND ${PREFIX}/bin/quorbel-cli --size 64x48 -o ${PREFIX}-chart.png
    RESULT_VARIABLE result ERROR_VARIABLE error)
if(NOT result EQUAL 0 OR NOT EXISTS ${PREFIX}-chart.png)
    message(FATAL_ERROR "the installed quorbel-cli wrote no picture: ${result} ${error}")
endif()
file(REMOVE ${PREFIX}-chart.png)

# A direct install brings the desktop's MIME database up to date under the prefix.
file(READ ${PREFIX}/share/mime/globs2 globs)
string(FIND "${globs}" "application/x-quorbel:*.qbl" at)
if(at LESS 0)
    message(FATAL_ERROR "the MIME database under the prefix lacks *.qbl")
endif()

# Each PNG is the size its folder names: the PNG header's width and height.
foreach(size 16 22 24 32 48 64 128 256)
    file(READ ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/quorbel.png header
        LIMIT 24 HEX)
    math(EXPR hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${hex}" 2 -1 hex)
    string(LENGTH "${hex}" digits)
    while(digits LESS 8)
        string(PREPEND hex 0)
        string(LENGTH "${hex}" digits)
    endwhile()
    string(TOLOWER "${hex}${hex}" dimensions)
    string(SUBSTRING "${header}" 32 16 found)
    if(NOT header MATCHES "^89504e470d0a1a0a" OR NOT found STREQUAL dimensions)
        message(FATAL_ERROR "${size}x${size} icon is not a ${size}x${size} PNG: ${header}")
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

# Through DESTDIR: the same files under DESTDIR/PREFIX, nothing else anywhere in DESTDIR, and no
# desktop cache written (that is the target system's job).
set(root ${PREFIX}-destdir)
install_into(/opt/quorbel ${root})
file(GLOB_RECURSE staged RELATIVE ${root} ${root}/*)
list(SORT staged)
set(wanted)
foreach(f IN LISTS expected)
    list(APPEND wanted opt/quorbel/${f})
endforeach()
list(SORT wanted)
if(NOT staged STREQUAL wanted)
    message(FATAL_ERROR "DESTDIR install differs from the expected files:\n${staged}\n${wanted}")
endif()
