twinsift_ui_test(ui_scan_tests scan/duplicatescanviewmodel_test.cpp scan/scangate.h)
