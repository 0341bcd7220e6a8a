# Compiler settings shared by every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
# g++ 12 reports impossible overlaps inside std::string's own copies once they
# are inlined (GCC bug 105329); the warning says nothing about our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    add_compile_options(-Wno-restrict)
endif()
if(VEXLO_WERROR)
    add_compile_options(-Werror)
endif()
if(VEXLO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
    # The instrumentation makes g++ see sizes that cannot occur in inlined
    # library code (memset bounds, regex internals); the plain build keeps
    # these warnings.
    add_compile_options(-Wno-stringop-overflow -Wno-maybe-uninitialized)
endif()

# vexlo_add_test(NAME <name> TARGET <target> LABELS <labels...> [FILTER <gtest filter>])
# One CTest entry per test executable, or per FILTER over one; labels are
# "headless" or "x11". A program whose run skipped a test and failed none ends
# with 77 (tests/support/TestRun.h), which CTest shows as skipped.
function(vexlo_add_test)
    cmake_parse_arguments(T "" "NAME;TARGET;TIMEOUT;FILTER" "LABELS" ${ARGN})
    if(T_FILTER)
        add_test(NAME ${T_NAME} COMMAND ${T_TARGET} --gtest_filter=${T_FILTER})
    else()
        add_test(NAME ${T_NAME} COMMAND ${T_TARGET})
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES
        LABELS "${T_LABELS}"
        TIMEOUT ${T_TIMEOUT}
        SKIP_RETURN_CODE 77
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
endfunction()

# Adds each named subdirectory that has a CMakeLists.txt of its own, so that a
# part can be added to the tree without touching its parent.
function(vexlo_optional_subdirs)
    foreach(dir ${ARGN})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()
