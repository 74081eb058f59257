# The application's frame around its windows: the icon, the menus, the About
# panel and further windows.

# The icon drawing is a small library of its own, so that the build can render
# the installed PNGs with the very code the running app draws with.
add_library(twinsift_icon STATIC shell/dockiconfactory.cpp shell/dockiconfactory.h)
twinsift_warnings(twinsift_icon)
target_include_directories(twinsift_icon PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/shell)
target_link_libraries(twinsift_icon PUBLIC Qt6::Gui)
target_link_libraries(twinsift_ui PUBLIC twinsift_icon)

target_sources(twinsift_ui PRIVATE
  shell/aboutpanelkeeper.cpp
  shell/aboutpanelkeeper.h
  shell/appdelegate.cpp
  shell/appdelegate.h
  shell/appsession.cpp
  shell/appsession.h
  shell/appicon.cpp
  shell/appicon.h
  shell/appwindows.cpp
  shell/appwindows.h
  shell/commandline.cpp
  shell/commandline.h
  shell/websiteaction.cpp
  shell/websiteaction.h)

qt_target_qml_sources(twinsift_ui
  QML_FILES
    shell/AboutPanel.qml
    shell/AppMenuBar.qml)
