# The scan screen: choosing a folder and a size, starting, stopping and
# watching a scan, and handing a result to the results screen.
target_sources(twinsift_ui PRIVATE
  scan_screen/scanscreencontroller.cpp
  scan_screen/scanscreencontroller.h)

qt_target_qml_sources(twinsift_ui
  QML_FILES
    scan_screen/TwinsiftView.qml
    scan_screen/InfoPill.qml
    scan_screen/FeatureCard.qml)
