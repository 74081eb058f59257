#include "folderavailability.h"

#include "fileattributes.h"

#include <QTimer>

#include <thread>

namespace twinsift {

FolderAvailability::FolderAvailability(QObject *parent, Probe probe,
                                       std::chrono::milliseconds deadline)
    : QObject(parent), m_probe(std::move(probe)), m_deadline(deadline),
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
    // A thread of its own per probe: one stuck in the kernel must not hold up
    // probes of other folders, as it would in a shared pool.
    std::thread([mailbox = m_mailbox, check = m_probe, key] {
        const bool available = check(key.toStdString());
        mailbox->post([key, available](FolderAvailability *self) { self->land(key, available); });
    }).detach();
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
