# Result categories, selection rules, protected locations and the cleanup run
# add their sources here.
