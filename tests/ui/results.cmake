# The review model: view state, bulk marks and the cleanup run's hand-back.
twinsift_ui_test(ui_results_tests results/duplicatereviewmodel_test.cpp)

# The last cleanup's journal, and putting its files back in a later run.
twinsift_ui_test(ui_restore_tests results/cleanuprestorer_test.cpp)
