#pragma once

#include "mainthreadmailbox.h"
#include "probethreads.h"

#include <QByteArray>
#include <QHash>
#include <QObject>

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
// reports the folder unavailable again instead of starting another. The late
// answer is passed on whenever it finally comes, and if the folder was asked
// about again meanwhile, a fresh probe follows, so the last word is never
// older than the last question. Probes run on the few threads of
// ProbeThreads, shared with every other screen; a probe that finds no
// thread, or a path no folder can have (one holding a NUL byte), means
// unavailable.
class FolderAvailability : public QObject {
    Q_OBJECT

public:
    // Whether path names an existing folder. Runs on a worker thread.
    using Probe = std::function<bool(const std::string &path)>;

    static constexpr std::chrono::milliseconds defaultDeadline{200};

    explicit FolderAvailability(QObject *parent = nullptr, Probe probe = isExistingFolder,
                                std::chrono::milliseconds deadline = defaultDeadline,
                                std::shared_ptr<ProbeThreads> threads = ProbeThreads::shared());
    ~FolderAvailability() override;

    // Starts a probe for each path; every path is answered through
    // answered(), at the latest when the deadline passes.
    void check(const std::vector<std::string> &paths);

    static bool isExistingFolder(const std::string &path);

signals:
    void answered(const QByteArray &path, bool available);

private:
    struct Running {
        quint64 probe = 0;
        bool askedAgain = false;
    };

    void start(const QByteArray &path);
    // Reports path unavailable when the given probe has not answered by the
    // deadline.
    void armDeadline(const QByteArray &path, quint64 probe);
    void land(const QByteArray &path, bool available);

    Probe m_probe;
    std::chrono::milliseconds m_deadline;
    std::shared_ptr<ProbeThreads> m_threads;
    quint64 m_probes = 0;
    QHash<QByteArray, Running> m_inFlight;
    std::shared_ptr<MainThreadMailbox<FolderAvailability>> m_mailbox;
};

} // namespace twinsift
