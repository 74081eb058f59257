# C++ sources and QML files of this subsystem are added to twinsift_ui here.
