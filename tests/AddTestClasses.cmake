# Read by ctest: one test for each class of a test executable, named after the
# class, so that a crash names its class and hides none of the others. The
# list is written when the executable is built.
if(NOT EXISTS "${sorafumi_classes}")
    # Not built: a test that fails and says so, rather than none at all.
    add_test(${sorafumi_executable_name}_NOT_BUILT ${sorafumi_executable_name}_NOT_BUILT)
    return()
endif()
file(STRINGS "${sorafumi_classes}" sorafumi_class_names)
foreach(class IN LISTS sorafumi_class_names)
    add_test(${class} "${sorafumi_executable}")
    set_tests_properties(${class} PROPERTIES
        ENVIRONMENT "${sorafumi_environment};TEST_CLASS=${class}"
        TIMEOUT ${sorafumi_timeout}
        LABELS ${sorafumi_executable_name}
        WORKING_DIRECTORY "${sorafumi_working_directory}")
endforeach()
