#pragma once

#include "displaygroup.h"
#include "duplicatescanresult.h"
#include "groupsort.h"
#include "pathorder.h"

#include <vector>

// How one scan result becomes the groups of each category. Pure functions of
// the result: the same result always gives the same groups.
namespace twinsift::DisplayGroups {

// One group per verified set, in the result's order, files as the result
// holds them.
std::vector<DisplayGroup> exactGroups(const DuplicateScanResult &result);

// Every scanned file, grouped by lower-cased name and size
// ("name-size:photo.jpg|2048"). Review only: equal names and sizes prove
// nothing about content.
std::vector<DisplayGroup> sameNameSizeGroups(const DuplicateScanResult &result,
                                             const PathOrder &order);

// Every scanned file, grouped by lower-cased name alone ("name:photo.jpg").
std::vector<DisplayGroup> sameNameGroups(const DuplicateScanResult &result, const PathOrder &order);

// Every file of every exact set, in path order.
std::vector<DuplicateFile> duplicateFiles(const DuplicateScanResult &result,
                                          const PathOrder &order);

// Orders the groups where they stand, without copying one. Stable: groups
// that compare equal keep their previous order.
void sort(std::vector<const DisplayGroup *> &groups, GroupSort sortMode, const PathOrder &order);

} // namespace twinsift::DisplayGroups
