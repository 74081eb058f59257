# The cleanup run: re-validation, the Trash, and its report.
target_sources(twinsift_core PRIVATE
  platform/folderdescriptors.cpp
  platform/trash.cpp
  results/cleanuprun.cpp)
