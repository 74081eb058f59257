# The review model: view state, bulk marks and the cleanup run's hand-back.
twinsift_ui_test(ui_results_tests results/duplicatereviewmodel_test.cpp)
