# The review model of the results screen and its list models.
target_sources(twinsift_ui PRIVATE
  results/cleanupselectionmodel.cpp
  results/cleanupselectionmodel.h
  results/duplicatereviewmodel.cpp
  results/duplicatereviewmodel.h
  results/reviewrowsmodel.cpp
  results/reviewrowsmodel.h)
