# Compiler settings shared by every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
if(VEXLO_WERROR)
    add_compile_options(-Werror)
endif()
if(VEXLO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# vexlo_add_test(NAME <name> TARGET <target> LABELS <labels...>)
# One CTest entry per test executable; labels are "headless" or "x11".
function(vexlo_add_test)
    cmake_parse_arguments(T "" "NAME;TARGET;TIMEOUT" "LABELS" ${ARGN})
    add_test(NAME ${T_NAME} COMMAND ${T_TARGET})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES
        LABELS "${T_LABELS}"
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
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
