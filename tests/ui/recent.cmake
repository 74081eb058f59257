twinsift_ui_test(ui_recent_tests recent/recentscanstore_test.cpp)
# One case drives the controller and the store from QML, through the module's plugin.
target_link_libraries(ui_recent_tests PRIVATE twinsift_uiplugin)
twinsift_ui_test(ui_recentscans_tests recent/recentscans_test.cpp)
