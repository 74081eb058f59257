#pragma once

// A throw-away home folder with its own freedesktop Trash, set up once per
// test process: GLib reads HOME and XDG_DATA_HOME on its first use and never
// again, so they must point here before any GIO call.

#include <gtest/gtest.h>

#include <string>

namespace twinsift::testing {

class TrashHome : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    static std::string trashFiles();
    // Empties the Trash so each test sees only what it moved.
    static void emptyTrash();
};

} // namespace twinsift::testing
