# The desktop entry opens a file it is handed, and claims no file type that
# other programs' files share (every .js file would open in the editor):
#   cmake -DENTRY=com.vevadev.VuvovIvoza.desktop -P DesktopEntryTest.cmake
file(STRINGS ${ENTRY} lines)
set(exec "")
set(types "")
foreach(line IN LISTS lines)
    if(line MATCHES "^Exec=(.*)$")
        set(exec "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^MimeType=(.*)$")
        set(types "${CMAKE_MATCH_1}")
    endif()
endforeach()
if(NOT exec MATCHES " %[fFuU]( |$)")
    message(FATAL_ERROR "Exec takes no file: '${exec}'")
endif()
foreach(shared application/javascript text/javascript application/x-javascript application/ecmascript
        text/ecmascript text/plain)
    string(FIND ";${types};" ";${shared};" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "MimeType claims every ${shared} file: '${types}'")
    endif()
endforeach()
