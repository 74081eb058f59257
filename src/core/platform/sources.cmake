target_sources(twinsift_core PRIVATE
  platform/fileattributes.cpp
  platform/filereader.cpp
  platform/filesystemtype.cpp
  platform/spinningdisk.cpp
  platform/folderwalker.cpp
  platform/paths.cpp
  platform/subfolders.cpp)
