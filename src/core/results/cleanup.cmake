# The cleanup run: re-validation, the Trash, and its report.
target_sources(twinsift_core PRIVATE
  platform/trash.cpp
  results/cleanuprun.cpp)
