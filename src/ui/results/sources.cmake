# The review model of the results screen, its list models and the cleanup run.
target_sources(twinsift_ui PRIVATE
  results/bytetexts.cpp
  results/bytetexts.h
  results/categorybuttonsmodel.cpp
  results/categorybuttonsmodel.h
  results/cleanupfailuresmodel.cpp
  results/cleanupfailuresmodel.h
  results/cleanupjob.cpp
  results/cleanupjob.h
  results/cleanupjournal.cpp
  results/cleanupjournal.h
  results/cleanuprestorer.cpp
  results/cleanuprestorer.h
  results/cleanupselectionmodel.cpp
  results/cleanupselectionmodel.h
  results/cleanuptexts.cpp
  results/cleanuptexts.h
  results/desktopfiles.cpp
  results/desktopfiles.h
  results/duplicatereviewmodel.cpp
  results/duplicatereviewmodel.h
  results/keyedrowupdate.h
  results/markrulerunner.cpp
  results/markrulerunner.h
  results/reviewrowsmodel.cpp
  results/resulttexts.cpp
  results/resulttexts.h
  results/reviewrowsmodel.h
  results/summarycardsmodel.cpp
  results/summarycardsmodel.h)

qt_target_qml_sources(twinsift_ui
  QML_FILES
    results/CleanupResultSheet.qml
    results/RestoreSheets.qml
    results/CleanupReviewSheet.qml
    results/DuplicateResultsView.qml
    results/FileGridRow.qml
    results/GridColumns.qml
    results/GridHeader.qml
    results/MetricCard.qml
    results/ResultGrid.qml
    results/ResultsOverview.qml
    results/ReviewAlert.qml)

# The "Mark" menu of bulk marks.
qt_target_qml_sources(twinsift_ui QML_FILES results/MarkMenu.qml)
