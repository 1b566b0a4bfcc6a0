# Fails when a C++ source of the project differs from what clang-format makes of it.
# -DCLANG_FORMAT=program -DROOT=source folder
set(folders app bench cli commands document forms fuzz preview script tests tools)
set(sources)
foreach(folder ${folders})
    file(GLOB_RECURSE found "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
    list(APPEND sources ${found})
endforeach()
list(FILTER sources EXCLUDE REGEX "/fuzz/corpus/")
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
    WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Sources differ from .clang-format; run: clang-format-14 -i <files>")
endif()
list(LENGTH sources count)
message(STATUS "${count} sources formatted as .clang-format says")
