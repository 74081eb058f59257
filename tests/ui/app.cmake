twinsift_ui_test(ui_app_tests app/appshell_test.cpp)
