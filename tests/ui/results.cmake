# The review model: view state, bulk marks and the cleanup run's hand-back.
twinsift_ui_test(ui_results_tests results/duplicatereviewmodel_test.cpp)

# The review's single-job pieces: protection answers and the selection's
# summary.
twinsift_ui_test(ui_reviewpieces_test results/reviewpieces_test.cpp)

# The last cleanup's journal, and putting its files back in a later run.
twinsift_ui_test(ui_restore_tests results/cleanuprestorer_test.cpp)

# Showing and opening files through the desktop, on a private session bus.
twinsift_ui_test(ui_desktopfiles_test results/desktopfiles_test.cpp)
target_link_libraries(ui_desktopfiles_test PRIVATE Qt6::DBus)
