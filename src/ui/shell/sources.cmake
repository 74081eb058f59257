# The window's frame: theme, icons, application-wide notices and navigation.
target_sources(twinsift_ui PRIVATE
  shell/appevents.cpp
  shell/appevents.h
  shell/rootnavigation.cpp
  shell/rootnavigation.h
  shell/symboltable.cpp
  shell/symboltable.h
  shell/modalsheets.cpp
  shell/modalsheets.h
  shell/desktopfolderchooser.cpp
  shell/desktopfolderchooser.h
  shell/folderbrowser.cpp
  shell/folderbrowser.h
  shell/accessibleitem.cpp
  shell/accessibleitem.h
  shell/apptranslations.cpp
  shell/apptranslations.h)

set_source_files_properties(shell/Theme.qml PROPERTIES QT_QML_SINGLETON_TYPE TRUE)
qt_target_qml_sources(twinsift_ui
  QML_FILES
    shell/Theme.qml
    shell/SymbolIcon.qml
    shell/RootView.qml
    shell/Sidebar.qml
    shell/SidebarRow.qml
    shell/PlaceholderView.qml
    shell/GradientPanel.qml
    shell/ActionButton.qml
    shell/PersistentStopButton.qml
    shell/Spinner.qml
    shell/DesktopNotice.qml
    shell/ControlAccess.qml
    shell/ModalSheet.qml
    shell/AccessibleMenuItem.qml
    shell/Announcer.qml
    shell/FolderChooser.qml
    shell/FolderChooserDialog.qml
    shell/FittingMenu.qml)

# The icon font ships inside the binary, so a missing font package shows up
# when building, not as blank icons at run time.
set(TWINSIFT_ICON_FONT
  /usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf)
if(NOT EXISTS ${TWINSIFT_ICON_FONT})
  message(FATAL_ERROR "Material Icons font missing: run scripts/install-deps")
endif()
set_source_files_properties(${TWINSIFT_ICON_FONT} PROPERTIES QT_RESOURCE_ALIAS MaterialIcons-Regular.ttf)
qt_add_resources(twinsift_ui twinsift_icon_font
  PREFIX /Twinsift/fonts
  FILES ${TWINSIFT_ICON_FONT})

# The rounded face of the big titles, built in the same way.
set(TWINSIFT_ROUNDED_FONT /usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf)
if(NOT EXISTS ${TWINSIFT_ROUNDED_FONT})
  message(FATAL_ERROR "Comfortaa font missing: run scripts/install-deps")
endif()
set_source_files_properties(${TWINSIFT_ROUNDED_FONT} PROPERTIES QT_RESOURCE_ALIAS Comfortaa-Bold.ttf)
qt_add_resources(twinsift_ui twinsift_rounded_font
  PREFIX /Twinsift/fonts
  FILES ${TWINSIFT_ROUNDED_FONT})
