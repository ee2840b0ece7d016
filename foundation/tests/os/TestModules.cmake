# Helpers of the foundation's OS tests, built beside the test program: a resource-only module
# with a version resource, and a small program that stands in for a browser and records the
# arguments it was started with.
add_library(zbtest_versioned MODULE ${CMAKE_CURRENT_LIST_DIR}/VersionedModule.rc)
set_target_properties(zbtest_versioned PROPERTIES PREFIX "" LINKER_LANGUAGE C)
target_link_options(zbtest_versioned PRIVATE -nostdlib -Wl,--entry=0 -s)

add_executable(zbtest_url_recorder WIN32 ${CMAKE_CURRENT_LIST_DIR}/UrlRecorder.cpp)

add_dependencies(foundation_tests zbtest_versioned zbtest_url_recorder)
