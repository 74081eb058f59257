# The review model: view state, marks and the cleanup run's hand-back.
twinsift_ui_test(ui_results_tests results/duplicatereviewmodel_test.cpp)
# One case creates the model from QML, through the module's plugin.
target_link_libraries(ui_results_tests PRIVATE twinsift_uiplugin)
# The "Mark" menu's bulk marks, their undo and feedback line.
twinsift_ui_test(ui_marks_tests results/markrulerunner_test.cpp)
