# Help: the built-in guide.
qt_target_qml_sources(twinsift_ui
  QML_FILES
    help/TwinsiftHowToView.qml)
