#pragma once

// A throw-away home folder with its own freedesktop Trash, set up once per
// test process: GLib reads HOME and XDG_DATA_HOME on its first use and never
// again, so they must point here before any GIO call.

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace twinsift::testing {

class TrashHome : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    static std::string trashFiles();
    // Empties the Trash so each test sees only what it moved.
    static void emptyTrash();
    // The decoded Path= line of the .trashinfo GIO wrote for name.
    static std::optional<std::string> originalPathOf(const std::string &name);
};

// The test process leaves the host's mount namespace at start-up so that it
// may mount tmpfs and bind mounts of its own, which can never reach the host.
void enterPrivateMountNamespace();

// A mount that lives until the end of the scope.
class ScopedMount {
public:
    // tmpfs at target when source is empty, otherwise a bind mount of source.
    ScopedMount(const std::string &target, const std::string &source = {});
    ~ScopedMount();
    ScopedMount(const ScopedMount &) = delete;
    ScopedMount &operator=(const ScopedMount &) = delete;

    // Empty when mounted, else why not: the tests that need it skip then.
    const std::string &error() const { return m_error; }

private:
    std::string m_target;
    std::string m_error;
};

} // namespace twinsift::testing
