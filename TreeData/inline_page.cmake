# Writes the delivered, self-contained tree.html: the markup of SOURCE_DIR/tree.html
# with its stylesheet link and script tag replaced by the text of tree.css and
# of the page's script, joined from the modules in page/. Exports copy that one
# file, so the page needs nothing beside it but custom.js and treePics/; it
# works from file://, where a browser loads no modules.
#
#   cmake -DSOURCE_DIR=<TreeData folder> -DOUTPUT=<page> -P inline_page.cmake
#
# The modules keep to a form that joins by text: imports on one line each,
# `export` only before a declaration, and top-level names unique among them.
# items.js (the constructors custom.js calls) stays global; the others share
# one function scope.

set(PAGE_MODULES items model rows search draw current keys page)

file(READ "${SOURCE_DIR}/tree.html" page)

# The module's text without its imports and export keywords.
function(module_text name out)
    file(READ "${SOURCE_DIR}/page/${name}.js" text)
    set(text "\n${text}")
    string(REGEX REPLACE "\nimport [^\n]*;[ ]*" "\n" text "${text}")
    string(REGEX REPLACE "\nexport (function|const|let|class) " "\n\\1 " text "${text}")
    string(REGEX MATCH "\n(import|export)[ {]" left "${text}")
    if(left)
        message(FATAL_ERROR "page/${name}.js: an import or export that cannot be joined: ${left}")
    endif()
    set(${out} "// ---- ${name}.js\n${text}" PARENT_SCOPE)
endfunction()

set(script "")
foreach(name IN LISTS PAGE_MODULES)
    module_text(${name} text)
    if(name STREQUAL "items")
        string(APPEND script "${text}\n(function () {\n\"use strict\";\n")
    else()
        string(APPEND script "${text}\n")
    endif()
endforeach()
string(APPEND script "})();\n")

# Replaces the one `tag` of the page by `text` inside <element>.
function(inline_text tag text what element)
    string(TOLOWER "${text}" lower)
    string(FIND "${lower}" "</${element}" closing)
    if(NOT closing EQUAL -1)
        message(FATAL_ERROR "${what} contains </${element}, which would end the inlined ${element} early")
    endif()
    string(FIND "${page}" "${tag}" first)
    string(FIND "${page}" "${tag}" last REVERSE)
    if(first EQUAL -1 OR NOT first EQUAL last)
        message(FATAL_ERROR "tree.html must hold ${tag} exactly once")
    endif()
    string(REPLACE "${tag}" "<${element}>\n${text}</${element}>" page "${page}")
    set(page "${page}" PARENT_SCOPE)
endfunction()

file(READ "${SOURCE_DIR}/tree.css" css)
inline_text("<link rel=\"stylesheet\" href=\"tree.css\">" "${css}" tree.css style)
inline_text("<script type=\"module\" src=\"page/page.js\"></script>" "${script}" "the page script" script)
file(WRITE "${OUTPUT}" "${page}")
file(CHMOD "${OUTPUT}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
