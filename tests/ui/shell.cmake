twinsift_ui_test(ui_shell_tests shell/symboltable_test.cpp)
target_compile_definitions(ui_shell_tests PRIVATE
  TWINSIFT_QML_SOURCES="${PROJECT_SOURCE_DIR}/src/ui"
  TWINSIFT_ICON_NAMES="/usr/share/fonts-material-design-icons-iconfont/scss/_variables.scss")
twinsift_ui_test(ui_linuxwords_test shell/linuxwords_test.cpp)
target_compile_definitions(ui_linuxwords_test PRIVATE TWINSIFT_SOURCES="${PROJECT_SOURCE_DIR}/src")
twinsift_ui_test(ui_apptranslations_test shell/apptranslations_test.cpp)
