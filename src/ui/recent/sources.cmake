# Recent scans: the history entry, its file format, the process-wide store
# and the Recent Scans screen.
target_sources(twinsift_ui PRIVATE
  recent/folderavailability.cpp
  recent/folderavailability.h
  recent/probethreads.cpp
  recent/probethreads.h
  recent/recentscanfile.cpp
  recent/recentscanfile.h
  recent/recentscanrecord.cpp
  recent/recentscanrecord.h
  recent/recentscansmodel.cpp
  recent/recentscansmodel.h
  recent/recentscanstore.cpp
  recent/recentscanstore.h
  recent/recentscantexts.cpp
  recent/recentscantexts.h)

qt_target_qml_sources(twinsift_ui
  QML_FILES
    recent/RecentScanCard.qml
    recent/RecentScansView.qml)
