#include "bytetexts.h"
#include "resultreview.h"
#include "reviewprotection.h"
#include "selectionsummary.h"

#include <QTest>

#include <memory>
#include <set>
#include <string>

using namespace twinsift;

namespace {

DuplicateGroup group(std::string hash, std::uint64_t size, std::vector<std::string> paths) {
    DuplicateGroup g;
    g.hash = std::move(hash);
    g.size = size;
    for (auto &p : paths)
        g.files.push_back({std::move(p), size});
    return g;
}

std::shared_ptr<const DuplicateScanResult> resultOf(std::vector<DuplicateGroup> groups) {
    DuplicateScanResult r;
    r.rootURL = "/d";
    for (const auto &g : groups)
        for (const auto &f : g.files)
            r.scannedFiles.push_back(f);
    r.groups = std::move(groups);
    return std::make_shared<const DuplicateScanResult>(std::move(r));
}

// A review whose protection answers come from a ReviewProtection, as on the
// results screen.
struct Session {
    int answered = 0;
    int groupings = 0;
    ReviewProtection protection{
        {[this](ResultReview::Groupings) { ++groupings; }, [this] { ++answered; }}};
    ResultReview review{
        {}, [this](FileId id, const std::string &) { return protection.isProtectedPlace(id); }};
    SelectionSummary summary{review, protection};

    explicit Session(std::set<std::string> protectedPaths) {
        protection.setTest(
            [protectedPaths](const std::string &path) { return protectedPaths.contains(path); });
    }
    // Shows result and waits for the background pass.
    bool show(const std::shared_ptr<const DuplicateScanResult> &result) {
        const int before = answered;
        protection.carryOver(review, result.get());
        review.setResult(result);
        protection.check(result, true);
        summary.forgetOrder();
        summary.recount();
        return QTest::qWaitFor([&] { return answered > before; });
    }
    void mark(const std::string &path, bool marked) {
        (void)review.takeMarkChanges();
        const auto id = *review.fileIdOf(path);
        const auto &groups = review.exactGroups();
        for (const auto &g : groups)
            for (const auto &f : g.files)
                if (f.url == path && review.isMarked(id) != marked)
                    review.toggleTrash(f, g);
        summary.follow(review.takeMarkChanges());
    }
};

} // namespace

class ReviewPiecesTest : public QObject {
    Q_OBJECT

private slots:
    void protectionIsAnsweredByFileIdAndCarriedToTheNextResult() {
        Session s({"/d/a2"});
        QVERIFY(s.show(resultOf({group("aa", 10, {"/d/a1", "/d/a2", "/d/a3"})})));
        QCOMPARE(s.groupings, 1);
        const auto a2 = *s.review.fileIdOf("/d/a2");
        QVERIFY(s.protection.isProtectedPlace(a2));
        QCOMPARE(s.protection.of(*s.review.fileIdOf("/d/a1")), ReviewProtection::Protection::free);

        // Until the next pass answers, a rescan keeps what it knew of the
        // same paths, wherever their FileIds now are, and knows nothing of
        // new ones.
        const auto next =
            resultOf({group("bb", 5, {"/d/b1", "/d/b2"}), group("aa", 10, {"/d/a2", "/d/a1"})});
        s.protection.carryOver(s.review, next.get());
        s.review.setResult(next);
        QCOMPARE(s.protection.of(*s.review.fileIdOf("/d/b1")),
                 ReviewProtection::Protection::unknown);
        QVERIFY(s.protection.isProtectedPlace(*s.review.fileIdOf("/d/a2")));
        QCOMPARE(s.protection.of(*s.review.fileIdOf("/d/a1")), ReviewProtection::Protection::free);
    }

    void theSummaryFollowsMarksAsACountWouldAndLeavesProtectedFilesOut() {
        Session s({"/d/b2"});
        QVERIFY(s.show(resultOf({group("aa", 10, {"/d/a1", "/d/a2", "/d/a3"}),
                                 group("bb", 1000, {"/d/b1", "/d/b2", "/d/b3"})})));
        s.mark("/d/a1", true);
        s.mark("/d/b1", true);
        s.mark("/d/a3", true);
        QCOMPARE(s.summary.count(), 3);
        QCOMPARE(s.summary.bytes(), std::uint64_t{1020});
        QCOMPARE(s.summary.files()->rowCount(), 3);
        s.mark("/d/a1", false);
        QCOMPARE(s.summary.count(), 2);
        QCOMPARE(s.summary.bytes(), std::uint64_t{1010});
        QCOMPARE(s.summary.files()->rowCount(), 2);
        // The protected copy takes no mark at all.
        s.mark("/d/b2", true);
        QCOMPARE(s.summary.count(), 2);

        // Counting afresh agrees with what was followed.
        const int followed = s.summary.count();
        const auto followedBytes = s.summary.bytes();
        s.summary.recount();
        QCOMPARE(s.summary.count(), followed);
        QCOMPARE(s.summary.bytes(), followedBytes);
        QCOMPARE(s.summary.reviewSummaryText(),
                 QStringLiteral("2 files · ") + ByteTexts::bytes(1010));
    }
};

QTEST_GUILESS_MAIN(ReviewPiecesTest)
#include "reviewpieces_test.moc"
