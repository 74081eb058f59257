# The cleanup run: re-validation, the Trash, and its report.
target_sources(twinsift_core PRIVATE
  platform/folderdescriptors.cpp
  platform/safemove.cpp
  platform/trash.cpp
  results/cleanuplock.cpp
  results/cleanuprestore.cpp
  results/cleanuprun.cpp)
