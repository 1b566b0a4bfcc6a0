# Writes the delivered, self-contained tree.html: the markup of SOURCE_DIR/tree.html
# with its stylesheet link and script tag replaced by the text of tree.css and
# tree.js. Exports copy that one file, so the page needs nothing beside it but
# custom.js and treePics/.
#
#   cmake -DSOURCE_DIR=<folder of the three files> -DOUTPUT=<page> -P inline_page.cmake

file(READ "${SOURCE_DIR}/tree.html" page)

# Replaces the one `tag` of the page by `file`'s text inside <element>.
function(inline_file tag file element)
    file(READ "${SOURCE_DIR}/${file}" text)
    string(TOLOWER "${text}" lower)
    string(FIND "${lower}" "</${element}" closing)
    if(NOT closing EQUAL -1)
        message(FATAL_ERROR "${file} contains </${element}, which would end the inlined ${element} early")
    endif()
    string(FIND "${page}" "${tag}" first)
    string(FIND "${page}" "${tag}" last REVERSE)
    if(first EQUAL -1 OR NOT first EQUAL last)
        message(FATAL_ERROR "tree.html must hold ${tag} exactly once")
    endif()
    string(REPLACE "${tag}" "<${element}>\n${text}</${element}>" page "${page}")
    set(page "${page}" PARENT_SCOPE)
endfunction()

inline_file("<link rel=\"stylesheet\" href=\"tree.css\">" tree.css style)
inline_file("<script src=\"tree.js\"></script>" tree.js script)
file(WRITE "${OUTPUT}" "${page}")
file(CHMOD "${OUTPUT}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
