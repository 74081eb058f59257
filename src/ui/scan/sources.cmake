# Scan control: the controller that runs the engine off the main thread.
target_sources(twinsift_ui PRIVATE
  scan/duplicatescanviewmodel.cpp
  scan/duplicatescanviewmodel.h
  scan/fileurls.cpp
  scan/fileurls.h
  scan/scanresultvalue.cpp
  scan/scanresultvalue.h
  scan/scantexts.cpp
  scan/scantexts.h)
