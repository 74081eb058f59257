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
    bool isDirectory = false;
    return fileExists(path, &isDirectory) && isDirectory;
}

void FolderAvailability::check(const std::vector<std::string> &paths) {
    QList<QByteArray> asked;
    for (const std::string &path : paths) {
        const QByteArray key(path.data(), static_cast<qsizetype>(path.size()));
        asked.append(key);
        if (m_inFlight.contains(key))
            continue;
        m_inFlight.insert(key);
        // A thread of its own per probe: one stuck in the kernel must not hold
        // up probes of other folders, as it would in a shared pool.
        std::thread([mailbox = m_mailbox, probe = m_probe, path, key] {
            const bool available = probe(path);
            mailbox->post(
                [key, available](FolderAvailability *self) { self->land(key, available); });
        }).detach();
    }
    if (asked.isEmpty())
        return;
    QTimer::singleShot(m_deadline, this, [this, asked] {
        for (const QByteArray &key : asked)
            if (m_inFlight.contains(key))
                emit answered(key, false);
    });
}

void FolderAvailability::land(const QByteArray &path, bool available) {
    m_inFlight.remove(path);
    emit answered(path, available);
}

} // namespace twinsift
