# Categories, display groups, search and sort, review state and marks,
# protected locations and byte formatting.
twinsift_core_test(core_results_tests
  results/displaygroups_test.cpp
  results/resultreview_test.cpp
  results/reviewmarks_test.cpp
  results/cleanupprotection_test.cpp
  results/formatbytes_test.cpp
  results/markrules_test.cpp)
target_include_directories(core_results_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/results)
gtest_discover_tests(core_results_tests DISCOVERY_MODE PRE_TEST)
