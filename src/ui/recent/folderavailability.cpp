#include "folderavailability.h"

#include "fileattributes.h"

#include <QTimer>

namespace twinsift {

FolderAvailability::FolderAvailability(QObject *parent, Probe probe,
                                       std::chrono::milliseconds deadline,
                                       std::shared_ptr<ProbeThreads> threads)
    : QObject(parent), m_probe(std::move(probe)), m_deadline(deadline),
      m_threads(std::move(threads)),
      m_mailbox(std::make_shared<MainThreadMailbox<FolderAvailability>>(this)) {}

FolderAvailability::~FolderAvailability() {
    // Probes still hanging keep running on their own threads; their answers
    // have nowhere to go.
    m_mailbox->close();
}

bool FolderAvailability::isExistingFolder(const std::string &path) {
    const auto attributes = FileAttributes::readFollowingLinks(path);
    return attributes && attributes->isDirectory;
}

void FolderAvailability::check(const std::vector<std::string> &paths) {
    for (const std::string &path : paths) {
        const QByteArray key(path.data(), static_cast<qsizetype>(path.size()));
        if (key.contains('\0')) {
            // No folder has such a name, and the system calls would read
            // only up to the NUL.
            QMetaObject::invokeMethod(
                this, [this, key] { emit answered(key, false); }, Qt::QueuedConnection);
            continue;
        }
        const auto running = m_inFlight.find(key);
        if (running == m_inFlight.end()) {
            start(key);
            continue;
        }
        // Still hanging: it counts as unavailable once more at the deadline.
        running->askedAgain = true;
        armDeadline(key, running->probe);
    }
}

void FolderAvailability::start(const QByteArray &key) {
    const quint64 probe = ++m_probes;
    m_inFlight.insert(key, Running{probe, false});
    // The answer may come on a probe thread, or at once when none can start.
    m_threads->ask(key.toStdString(), m_probe, [mailbox = m_mailbox, key](bool available) {
        mailbox->post([key, available](FolderAvailability *self) { self->land(key, available); });
    });
    armDeadline(key, probe);
}

void FolderAvailability::armDeadline(const QByteArray &key, quint64 probe) {
    QTimer::singleShot(m_deadline, this, [this, key, probe] {
        const auto running = m_inFlight.constFind(key);
        if (running != m_inFlight.constEnd() && running->probe == probe)
            emit answered(key, false);
    });
}

void FolderAvailability::land(const QByteArray &path, bool available) {
    const Running finished = m_inFlight.take(path);
    emit answered(path, available);
    if (finished.askedAgain)
        start(path);
}

} // namespace twinsift
