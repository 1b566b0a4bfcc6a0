# Settings shared by every target: language level, warnings and strict Qt defines.
add_library(vi_common INTERFACE)
target_compile_features(vi_common INTERFACE cxx_std_20)
if(MSVC)
    target_compile_options(vi_common INTERFACE /W4 /permissive- /utf-8 /Zc:__cplusplus
        $<$<BOOL:${VI_WERROR}>:/WX>)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(vi_common INTERFACE -Wall -Wextra -pedantic $<$<BOOL:${VI_WERROR}>:-Werror>)
endif()
target_compile_definitions(vi_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_FOREACH)

# The version and the install layout reach the code through one generated header.
include(GNUInstallDirs)
set(VI_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vuvov-ivoza/TreeData)
file(RELATIVE_PATH VI_INSTALLED_DATA_FROM_BIN
    ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${VI_INSTALL_DATA_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildConfig.h.in ${PROJECT_BINARY_DIR}/generated/BuildConfig.h @ONLY)
target_include_directories(vi_common INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)

if(MSVC)
    set(VI_SANITIZER_FLAGS /fsanitize=address)
else()
    set(VI_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
endif()

# vi_core_library(NAME SOURCES... DEPS...)
# A core layer library. With VI_SANITIZE_CORE a second copy NAME_san is built
# with AddressSanitizer and UndefinedBehaviorSanitizer for the sanitized tests.
function(vi_core_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC vi_common Qt6::Core ${ARG_DEPS})
    # String concatenation in the core builds each result in one allocation.
    target_compile_definitions(${name} PRIVATE QT_USE_QSTRINGBUILDER)
    if(VI_SANITIZE_CORE)
        add_library(${name}_san STATIC ${ARG_SOURCES})
        list(TRANSFORM ARG_DEPS APPEND _san OUTPUT_VARIABLE san_deps)
        target_link_libraries(${name}_san PUBLIC vi_common Qt6::Core ${san_deps})
        target_compile_definitions(${name}_san PRIVATE QT_USE_QSTRINGBUILDER)
        target_compile_options(${name}_san PUBLIC ${VI_SANITIZER_FLAGS})
        target_link_options(${name}_san PUBLIC ${VI_SANITIZER_FLAGS})
    endif()
endfunction()

# vi_core_test(NAME SOURCES... DEPS...)
# A GoogleTest executable over core libraries, registered with ctest; with
# VI_SANITIZE_CORE also built and registered against the sanitized libraries.
function(vi_core_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    if(VI_SANITIZE_CORE)
        list(TRANSFORM ARG_DEPS APPEND _san OUTPUT_VARIABLE san_deps)
        add_executable(${name}_san ${ARG_SOURCES})
        target_link_libraries(${name}_san PRIVATE ${san_deps} GTest::gtest GTest::gtest_main)
        add_test(NAME ${name}_sanitized COMMAND ${name}_san)
        set_tests_properties(${name}_sanitized PROPERTIES
            ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1;QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()

# vi_widget_test(NAME SOURCES... DEPS...)
# A GoogleTest executable of widget tests with its own main (one QApplication),
# run on Qt's offscreen platform after the data folder is built.
function(vi_widget_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} Qt6::Test GTest::gtest)
    if(TARGET treedata)
        add_dependencies(${name} treedata)
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
