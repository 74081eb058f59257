#pragma once

#include "mainthreadmailbox.h"

#include <QByteArray>
#include <QObject>
#include <QSet>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace twinsift {

// Asks the disk, off the main thread, whether remembered folders are still
// there. A folder on a dead network mount can leave stat hanging for minutes,
// so a probe that has not answered by the deadline counts as unavailable.
// Each folder has at most one probe in flight: a check while it still hangs
// reports the folder unavailable again instead of starting another, and the
// late answer is passed on whenever it finally comes.
class FolderAvailability : public QObject {
    Q_OBJECT

public:
    // Whether path names an existing folder. Runs on a worker thread.
    using Probe = std::function<bool(const std::string &path)>;

    static constexpr std::chrono::milliseconds defaultDeadline{200};

    explicit FolderAvailability(QObject *parent = nullptr, Probe probe = isExistingFolder,
                                std::chrono::milliseconds deadline = defaultDeadline);
    ~FolderAvailability() override;

    // Starts a probe for each path; every path is answered through
    // answered(), at the latest when the deadline passes.
    void check(const std::vector<std::string> &paths);

    static bool isExistingFolder(const std::string &path);

signals:
    void answered(const QByteArray &path, bool available);

private:
    void land(const QByteArray &path, bool available);

    Probe m_probe;
    std::chrono::milliseconds m_deadline;
    QSet<QByteArray> m_inFlight;
    std::shared_ptr<MainThreadMailbox<FolderAvailability>> m_mailbox;
};

} // namespace twinsift
