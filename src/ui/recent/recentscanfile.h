#pragma once

#include "recentscanrecord.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace twinsift::recentscanfile {

// The history file's bytes: a pretty-printed top-level array, keys sorted,
// every "/" written as "\/", dates as YYYY-MM-DDTHH:MM:SSZ in UTC.
QByteArray encode(const QList<RecentScanRecord> &records);

// The entries of a history file in file order, or nothing when any entry
// lacks a key, holds a value of the wrong type, a date that is not in the
// strict form above, an id that is not a UUID, or the JSON is malformed.
// Keys it does not know are ignored.
std::optional<QList<RecentScanRecord>> decode(const QByteArray &bytes);

} // namespace twinsift::recentscanfile
