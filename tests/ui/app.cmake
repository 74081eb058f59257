twinsift_ui_test(ui_app_tests app/appshell_test.cpp)
# The About panel is built from the module's QML.
target_link_libraries(ui_app_tests PRIVATE twinsift_uiplugin)
