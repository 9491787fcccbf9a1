# The model (theory, grip, erkennung, table) uses the standard library only.
# Qt's headers live outside the compiler's default search path, so a Qt include in a model source
# only compiles when a Qt target is linked: refuse that at configure time, and a test proves that
# such an include fails to build.

function(zw_model_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

function(zw_check_model_targets)
    foreach(target IN LISTS ARGN)
        foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES INCLUDE_DIRECTORIES)
            get_target_property(values ${target} ${property})
            if(values AND "${values}" MATCHES "Qt[0-9]*::|[Qq]t6")
                message(FATAL_ERROR "Model target ${target} must not use Qt (${property}: ${values})")
            endif()
        endforeach()
    endforeach()
endfunction()
