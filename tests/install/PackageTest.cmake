# Builds the .deb, unpacks it into a scratch root with dpkg -x and runs the
# installed programs from there, as a user would after installing it:
#   cmake -DBUILD_DIR=... -DWORK=... -DSAMPLE=custom.js -DVERSION=x.y.z -P PackageTest.cmake
# The CLI exports the sample with the installed data folder, the editor runs
# offscreen for a few seconds with the sample, and nothing may be written
# under the scratch prefix meanwhile.
foreach(var BUILD_DIR WORK SAMPLE VERSION)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "PackageTest.cmake needs -D${var}=...")
    endif()
endforeach()

function(check condition_text)
    if(NOT ${ARGN})
        message(FATAL_ERROR "${condition_text}")
    endif()
endfunction()

# Every file and folder under the root with its permissions, size and time.
function(snapshot root out)
    execute_process(COMMAND find ${root} -mindepth 1 -printf "%M %s %T@ %P\n" OUTPUT_VARIABLE lines)
    string(REGEX MATCHALL "[^\n]+" lines "${lines}")
    list(SORT lines)
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/package ${WORK}/home ${WORK}/site/treePics)
set(root ${WORK}/root)

execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB -B ${WORK}/package --config ${BUILD_DIR}/CPackConfig.cmake
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
check("cpack failed: ${out}" status EQUAL 0)
file(GLOB debs ${WORK}/package/*.deb)
list(LENGTH debs count)
check("expected one .deb, found: ${debs}" count EQUAL 1)

execute_process(COMMAND dpkg-deb -f ${debs} Version Depends OUTPUT_VARIABLE fields)
check("package version is not ${VERSION}: ${fields}" fields MATCHES "Version: ${VERSION}")
check("no library dependencies from dpkg-shlibdeps: ${fields}" fields MATCHES "Depends: .*libqt6webengine")

execute_process(COMMAND dpkg -x ${debs} ${root} RESULT_VARIABLE status)
check("dpkg -x failed" status EQUAL 0)
foreach(path usr/bin/vuvov-ivoza usr/bin/vuvov-ivoza-cli usr/share/vuvov-ivoza/TreeData/tree.html
        usr/share/vuvov-ivoza/TreeData/TreeLines/Black/plus.gif usr/share/man/man1/vuvov-ivoza-cli.1
        usr/share/applications/com.vevadev.VuvovIvoza.desktop usr/share/metainfo/com.vevadev.VuvovIvoza.metainfo.xml
        usr/share/icons/hicolor/scalable/apps/com.vevadev.VuvovIvoza.svg
        usr/share/icons/hicolor/48x48/apps/com.vevadev.VuvovIvoza.png)
    check("${path} is not in the package" EXISTS ${root}/${path})
endforeach()

snapshot(${root} before)
foreach(line IN LISTS before)
    check("installed with unexpected permissions: ${line}" line MATCHES "^(-rw-r--r--|-rwxr-xr-x|drwxr-xr-x) ")
endforeach()

# The programs' only writable places: the user's home and the export folder.
set(ENV{HOME} ${WORK}/home)
set(ENV{XDG_CACHE_HOME} ${WORK}/home/.cache)
set(ENV{XDG_CONFIG_HOME} ${WORK}/home/.config)
set(ENV{QT_QPA_PLATFORM} offscreen)

execute_process(COMMAND ${root}/usr/bin/vuvov-ivoza-cli --version OUTPUT_VARIABLE out)
check("the CLI says it is not ${VERSION}: ${out}" out STREQUAL "vuvov-ivoza-cli ${VERSION}\n")
execute_process(COMMAND ${root}/usr/bin/vuvov-ivoza --version OUTPUT_VARIABLE out)
check("the editor says it is not ${VERSION}: ${out}" out STREQUAL "vuvov-ivoza ${VERSION}\n")

# The sample's bullets lie in its own treePics.
file(COPY_FILE ${SAMPLE} ${WORK}/site/custom.js)
foreach(bullet folder.gif open.gif)
    file(COPY_FILE ${root}/usr/share/vuvov-ivoza/TreeData/TreeLines/2x2.gif ${WORK}/site/treePics/${bullet})
endforeach()
execute_process(COMMAND ${root}/usr/bin/vuvov-ivoza-cli export ${WORK}/site/custom.js ${WORK}/export
    RESULT_VARIABLE status ERROR_VARIABLE err)
check("the installed CLI's export failed (${status}): ${err}" status EQUAL 0)
foreach(name custom.js tree.html treePics/2x2.gif treePics/plus.gif treePics/minus.gif)
    check("the export lacks ${name}: the data folder was not found" EXISTS ${WORK}/export/${name})
endforeach()

# The editor opens the sample and stays up until it is stopped; its start-up
# log (off by default) names the data folder it found.
set(ENV{QT_LOGGING_RULES} "vuvov.startup.debug=true")
execute_process(COMMAND timeout 5 ${root}/usr/bin/vuvov-ivoza ${SAMPLE}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
check("the installed editor did not stay up (${status}): ${err}" status EQUAL 124)
check("the installed editor did not find its data folder: ${err}"
    err MATCHES "data folder: ${root}/usr/share/vuvov-ivoza/TreeData preview folder: ${WORK}/home/.cache/")

snapshot(${root} after)
check("something was written under the scratch prefix" before STREQUAL after)
