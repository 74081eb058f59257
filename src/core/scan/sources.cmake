target_sources(twinsift_core PRIVATE
  scan/duplicatescanner.cpp
  scan/pathorder.cpp
  scan/readahead.cpp
  scan/sha256hasher.cpp)
