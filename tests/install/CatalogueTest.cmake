# The committed translation catalogue holds every text the sources mark:
#   cmake -DLUPDATE=... -DCATALOGUE=i18n/x.ts -DSOURCES="a.cpp;b.h" -DWORK=... -P CatalogueTest.cmake
# A text added without `--target update_translations` fails it.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/sources.lst "")
foreach(source IN LISTS SOURCES)
    file(APPEND ${WORK}/sources.lst "${source}\n")
endforeach()
execute_process(COMMAND ${LUPDATE} -silent -locations none @${WORK}/sources.lst -ts ${WORK}/current.ts
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed: ${err}")
endif()
file(STRINGS ${WORK}/current.ts marked REGEX "<source>")
file(STRINGS ${CATALOGUE} committed REGEX "<source>")
list(REMOVE_ITEM marked ${committed})
if(marked)
    list(JOIN marked "\n" missing)
    message(FATAL_ERROR "Texts missing from ${CATALOGUE} (run the update_translations target):\n${missing}")
endif()
