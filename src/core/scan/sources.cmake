target_sources(twinsift_core PRIVATE
  scan/digestcache.cpp
  scan/digestmemory.cpp
  scan/duplicatescanner.cpp
  scan/pathorder.cpp
  scan/scannedfiles.cpp
  scan/walkedfiles.cpp
  scan/hashworkers.cpp
  scan/sha256hasher.cpp)
