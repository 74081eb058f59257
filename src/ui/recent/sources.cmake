# Recent scans: the history entry, its file format and the process-wide store.
target_sources(twinsift_ui PRIVATE
  recent/recentscanfile.cpp
  recent/recentscanfile.h
  recent/recentscanrecord.cpp
  recent/recentscanrecord.h
  recent/recentscanstore.cpp
  recent/recentscanstore.h)
