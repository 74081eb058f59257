#pragma once

namespace twinsift {

// Shows every item of our windows on the accessibility bus as Qt Quick does,
// with two things Qt 6.4 leaves out. A disabled control is reported as
// disabled, so a screen reader says "dimmed" rather than offer a press that
// does nothing. And while a modal sheet is open, nothing behind it is on
// the bus, labels included, as nothing behind it takes the pointer.
//
// Call once the application object exists, before the first window shows;
// it puts ours before Qt Quick's own.
void installAccessibleItems();

} // namespace twinsift
