# The cleanup run against real files and the real (temporary) Trash. Each
# process gets its own home and Trash.
add_library(twinsift_cleanup_testsupport STATIC cleanup/trashhome.cpp cleanup/cleanup_main.cpp)
twinsift_warnings(twinsift_cleanup_testsupport)
target_link_libraries(twinsift_cleanup_testsupport PUBLIC twinsift_testsupport GTest::gtest)

function(twinsift_cleanup_test name)
  add_executable(${name} ${ARGN})
  twinsift_warnings(${name})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/cleanup)
  target_link_libraries(${name} PRIVATE twinsift_core twinsift_cleanup_testsupport)
endfunction()

twinsift_cleanup_test(core_cleanup_tests cleanup/cleanuprun_test.cpp cleanup/cleanup_safety_test.cpp
  cleanup/trash_test.cpp cleanup/cleanuprestore_test.cpp)
gtest_discover_tests(core_cleanup_tests DISCOVERY_MODE PRE_TEST)

# Trash refusals from a read-only folder: only meaningful without root's
# file-mode bypass.
twinsift_cleanup_test(core_cleanup_permission_tests cleanup/cleanup_permission_test.cpp)
add_test(NAME core_cleanup_permission_tests
  COMMAND ${TWINSIFT_WITHOUT_DAC} $<TARGET_FILE:core_cleanup_permission_tests>)
# The refusal's reason is matched in the C locale.
set_tests_properties(core_cleanup_permission_tests PROPERTIES ENVIRONMENT "LC_ALL=C")

# Runs that overlap across processes: each side is this helper.
add_executable(cleanup_run_helper cleanup/cleanuprun_helper.cpp)
twinsift_warnings(cleanup_run_helper)
target_link_libraries(cleanup_run_helper PRIVATE twinsift_core)
add_dependencies(core_cleanup_tests cleanup_run_helper)
target_compile_definitions(core_cleanup_tests PRIVATE
  CLEANUP_RUN_HELPER="$<TARGET_FILE:cleanup_run_helper>")
