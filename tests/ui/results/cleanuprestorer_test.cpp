// The journal of the last cleanup and putting its files back, as a later run
// of the app would: nothing in memory, only what is on disk.
#include "cleanupjournal.h"
#include "cleanuprestorer.h"
#include "tempdir.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>

using namespace twinsift;
using namespace twinsift::testing;

class CleanupRestorerTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        std::filesystem::remove_all(std::string(std::getenv("XDG_DATA_HOME")) + "/Trash");
        std::filesystem::remove_all(std::string(std::getenv("XDG_DATA_HOME")) + "/Ambrivo");
    }

    void theJournalKeepsPathBytesAndSetsAsideWhatItCannotRead() {
        const Trash::Entry entry{"/t/Trash",
                                 "caf\xe9.bin",
                                 "/home/u/caf\xe9\xff.bin",
                                 (dev_t(1) << 40) + 7,
                                 ino_t(-2),
                                 1ULL << 40,
                                 -5,
                                 999999999};
        QVERIFY(CleanupJournal::write({entry, entry}));
        QCOMPARE(CleanupJournal::read(), (std::vector<Trash::Entry>{entry, entry}));

        // A damaged journal reads as none and goes aside, never over an
        // earlier one that went aside.
        const QString file = *CleanupJournal::location();
        for (const char *damage : {"{not json", "{\"version\": 1, \"entries\": [{}]}"}) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(damage);
            out.close();
            QVERIFY(CleanupJournal::read().empty());
            QVERIFY(!QFile::exists(file));
        }
        QCOMPARE(readFile((file + ".unreadable").toStdString()), "{not json");
        QCOMPARE(readFile((file + ".unreadable-2").toStdString()),
                 "{\"version\": 1, \"entries\": [{}]}");
    }

    // A restorer made afresh knows only the journal, as after a restart.
    // What cannot go back stays in the Trash and in the journal.
    void aLaterRunRestoresFromTheJournalAndKeepsWhatCouldNotGoBack() {
        TempDir dir;
        std::vector<Trash::Entry> entries;
        for (const char *name : {"a.bin", "b.bin", "sub/c.bin"}) {
            writeFile(dir / name, std::string(1500, name[0]));
            const auto moved = Trash::move(dir / name);
            QVERIFY(moved);
            entries.push_back(*moved);
        }
        QVERIFY(CleanupJournal::write(entries));
        writeFile(dir / "b.bin", "a new file of that name");
        removeTree(dir / "sub");

        CleanupRestorer restorer(nullptr);
        QSignalSpy available(&restorer, &CleanupRestorer::availableChanged);
        restorer.askToRestore();
        QTRY_VERIFY(restorer.isConfirming());
        QCOMPARE(restorer.availableCount(), 3);
        QCOMPARE(restorer.availableSize(), "5 KB");

        QSignalSpy closed(&restorer, &CleanupRestorer::reportClosed);
        restorer.restore();
        QVERIFY(!restorer.isConfirming());
        QTRY_VERIFY_WITH_TIMEOUT(restorer.hasReport(), 10000);
        QCOMPARE(restorer.reportTitle(), "Restore Completed with Warnings");
        QCOMPARE(restorer.reportSummary(), "2 files restored · 3 KB");
        QCOMPARE(restorer.failureText(), "1 files could not be restored");
        QCOMPARE(restorer.failures()->rowCount(), 1);
        QCOMPARE(restorer.failures()->data(restorer.failures()->index(0),
                                           CleanupFailuresModel::MessageRole),
                 QStringLiteral("Its name is taken again."));
        QCOMPARE(readFile(dir / "a.bin"), std::string(1500, 'a'));
        QCOMPARE(readFile(dir / "sub/c.bin"), std::string(1500, 's'));
        QCOMPARE(readFile(dir / "b.bin"), "a new file of that name");
        QCOMPARE(CleanupJournal::read(), std::vector<Trash::Entry>{entries[1]});
        QTRY_COMPARE(restorer.availableCount(), 1);

        restorer.closeReport();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!restorer.hasReport());
    }

    void nothingToRestoreAsksNothing() {
        CleanupRestorer restorer(nullptr);
        QSignalSpy available(&restorer, &CleanupRestorer::availableChanged);
        restorer.askToRestore();
        QTRY_COMPARE(available.count(), 1);
        QCOMPARE(restorer.availableCount(), 0);
        QVERIFY(!restorer.isConfirming());
    }
};

int main(int argc, char **argv) {
    const std::string home = makeScratchHome();
    QCoreApplication app(argc, argv);
    CleanupRestorerTest test;
    const int status = QTest::qExec(&test, argc, argv);
    removeTree(home);
    return status;
}

#include "cleanuprestorer_test.moc"
