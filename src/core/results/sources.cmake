# Result categories, display groups, search and sort, the review state with
# its selection rules, protected locations and byte formatting.
target_sources(twinsift_core PRIVATE
  results/cleanupprotection.cpp
  results/displaygroups.cpp
  results/filenamesearch.cpp
  results/formatbytes.cpp
  results/markhistory.cpp
  results/markrules.cpp
  results/modificationtimes.cpp
  results/resultreview.cpp
  results/relativefolder.cpp
  results/unicodetext.cpp)
