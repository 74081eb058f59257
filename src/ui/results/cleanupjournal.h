#pragma once

#include "trash.h"

#include <QString>

#include <optional>
#include <vector>

namespace twinsift {

// Where the last cleanup put each file it moved, kept on disk beside the
// history so that it can be put back even after a restart. Written whole and
// atomically; a journal that cannot be read is set aside, never lost. Safe
// on any thread; touches the disk, so never on the main thread.
namespace CleanupJournal {

// last-cleanup.json in the folder of the history file; none without one.
std::optional<QString> location();

// Replaces the journal with entries. False when it could not be written.
bool write(const std::vector<Trash::Entry> &entries);

// The journal's entries: none when there is none; an unreadable one is set
// aside and reads as none.
std::vector<Trash::Entry> read();

} // namespace CleanupJournal

} // namespace twinsift
