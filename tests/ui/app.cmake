twinsift_ui_test(ui_app_tests app/appshell_test.cpp)
# The About panel is built from the module's QML.
target_link_libraries(ui_app_tests PRIVATE twinsift_uiplugin)

# The app's own window, started as the app starts, from a scan to the Trash.
twinsift_ui_test(ui_endtoend_test app/endtoend_test.cpp)
target_link_libraries(ui_endtoend_test PRIVATE twinsift_uiplugin)
# Under the sanitizer preset, full stacks let the suppressions see Qt's frames.
# The command line and chooser tests build the same window.
set(twinsift_window_lsan
  "ASAN_OPTIONS=string_append::fast_unwind_on_malloc=0;LSAN_OPTIONS=string_append::suppressions=${CMAKE_CURRENT_SOURCE_DIR}/app/lsan.supp")
set_tests_properties(ui_endtoend_test PROPERTIES
  ENVIRONMENT_MODIFICATION "${twinsift_window_lsan}")

# `twinsift [FOLDER]`, in process as main starts it, and the options through
# the built binary.
twinsift_ui_test(ui_commandline_test app/commandline_test.cpp)
target_link_libraries(ui_commandline_test PRIVATE twinsift_uiplugin)
target_compile_definitions(ui_commandline_test PRIVATE
  TWINSIFT_BINARY="$<TARGET_FILE:twinsift>" TWINSIFT_VERSION="${PROJECT_VERSION}")
add_dependencies(ui_commandline_test twinsift)

# The desktop's folder chooser through a portal of the test's own.
twinsift_ui_test(ui_folderchooser_test app/folderchooser_test.cpp)
target_link_libraries(ui_folderchooser_test PRIVATE twinsift_uiplugin Qt6::DBus)
set_tests_properties(ui_commandline_test ui_folderchooser_test PROPERTIES
  ENVIRONMENT_MODIFICATION "${twinsift_window_lsan}")
