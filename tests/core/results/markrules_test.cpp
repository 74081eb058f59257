#include "markrules.h"
#include "modificationtimes.h"
#include "resultfixture.h"
#include "resultreview.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace twinsift;
using namespace twinsift::testing;

using Marks = std::set<std::string>;

namespace {

// Sets of two, three and five copies, laid out so that the first, the
// oldest, the newest and the shortest path are different copies where the
// set is large enough for that.
const DuplicateGroup two = group("22", 10, {"/d/two/a/first", "/d/second"});
const DuplicateGroup three = group("33", 10, {"/d/three/a/b/one", "/d/three/two", "/d/3/c"});
const DuplicateGroup five = group(
    "55", 10, {"/d/five/x/y/one", "/d/five/two", "/d/five/x/three", "/d/five/x/y/z/four", "/d/f5"});

constexpr auto unreadable = ModificationTimes::unreadable;

// Times for the result of exactly these sets, one list per set in its order.
ModificationTimes timesFor(const std::vector<DuplicateGroup> &groups,
                           const std::vector<std::vector<std::int64_t>> &perSet) {
    ModificationTimes times(resultOf(groups));
    for (std::size_t g = 0; g < perSet.size(); ++g)
        for (std::size_t i = 0; i < perSet[g].size(); ++i)
            times.set(g, i, perSet[g][i]);
    return times;
}

// A time that cannot be read sorts as the oldest of all, below any time
// before 1970.
const ModificationTimes spreadTimes =
    timesFor({two, three, five}, {{20, unreadable}, {50, -10, 70}, {500, 200, 100, 900, 300}});

// Every copy of every set but the ones kept.
Marks allBut(const std::vector<DuplicateGroup> &groups, const Marks &kept) {
    Marks out;
    for (const auto &g : groups)
        for (const auto &f : g.files)
            if (!kept.contains(f.url))
                out.insert(f.url);
    return out;
}

struct Review {
    std::set<std::string> protectedPaths;
    ResultReview review;

    explicit Review(std::vector<DuplicateGroup> groups, std::set<std::string> protectedOnes = {})
        : protectedPaths(std::move(protectedOnes)),
          review(resultOf(std::move(groups)), ResultReview::byPath([this](const std::string &p) {
                     return protectedPaths.contains(p);
                 })) {}
};

// No protected copy is marked, and a set without one keeps a copy unmarked.
::testing::AssertionResult everySetKeepsACopy(const ResultReview &review,
                                              const std::set<std::string> &protectedPaths) {
    for (const auto &g : review.result().groups) {
        std::size_t marked = 0;
        bool anyProtected = false;
        for (const auto &f : g.files) {
            const bool isMarked = review.selectedForTrash().contains(f.url);
            const bool isProtected = protectedPaths.contains(f.url);
            if (isMarked && isProtected)
                return ::testing::AssertionFailure() << f.url << " is protected and marked";
            marked += isMarked;
            anyProtected |= isProtected;
        }
        if (!anyProtected && marked == g.files.size())
            return ::testing::AssertionFailure() << "set " << g.hash << " is fully marked";
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(KeepRules, eachKeepsItsOwnCopyInSetsOfTwoThreeAndFive) {
    struct Case {
        MarkRule rule;
        Marks kept;
    };
    const Case cases[] = {
        {MarkRule::keepOldest, {"/d/second", "/d/three/two", "/d/five/x/three"}},
        {MarkRule::keepNewest, {"/d/two/a/first", "/d/3/c", "/d/five/x/y/z/four"}},
        {MarkRule::keepFirst, {"/d/two/a/first", "/d/three/a/b/one", "/d/five/x/y/one"}},
        {MarkRule::keepShortestPath, {"/d/second", "/d/3/c", "/d/f5"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.rule.rawValue()));
        Review r({two, three, five});
        // Whatever was marked before, the rule decides every copy of a set.
        toggle(r.review, "/d/three/two");
        toggle(r.review, "/d/3/c");
        const auto summary = r.review.applyMarkRule(c.rule, {&spreadTimes, {}});
        ASSERT_TRUE(summary);
        EXPECT_EQ(r.review.selectedForTrash(), allBut({two, three, five}, c.kept));
        EXPECT_EQ(*summary, (MarkRuleSummary{7, 3, 0}));
        EXPECT_FALSE(r.review.hasProtectedLocationAlert());
    }
}

TEST(KeepRules, equalTimesAndUnreadableTimesAndEqualPathShapesFallBackToTheSetOrder) {
    // The five-set has no times at all: every copy ties as unreadable.
    const auto equal = timesFor({two, three, five}, {{5, 5}, {5, 5, 5}});
    for (auto rule : {MarkRule::keepOldest, MarkRule::keepNewest}) {
        Review r({two, three, five});
        r.review.applyMarkRule(rule, {&equal, {}});
        EXPECT_EQ(
            r.review.selectedForTrash(),
            allBut({two, three, five}, {"/d/two/a/first", "/d/three/a/b/one", "/d/five/x/y/one"}));
    }

    // Same depth, same length: the shorter file name stays, and with names
    // of one length too, the earlier copy in the set.
    const auto names = group("tt", 1, {"/d/zz/c/d", "/d/x/bb", "/d/y/aa", "/d/xx/b"});
    const auto twins = group("uu", 2, {"/e/zz/c/d", "/e/x/bb", "/e/y/aa"});
    const auto copies = group("cc", 3, {"/d/Docs/img1 (2).jpg", "/d/Pictures/img1.jpg"});
    Review shortest({names, twins, copies});
    shortest.review.applyMarkRule(MarkRule::keepShortestPath);
    EXPECT_EQ(shortest.review.selectedForTrash(),
              allBut({names, twins, copies}, {"/d/xx/b", "/e/x/bb", "/d/Pictures/img1.jpg"}));
}

TEST(KeepRules, aProtectedCopyIsLeftAloneAndCountedWithOneAlert) {
    // Protected: a copy the rule would mark in the three-set and in the
    // five-set, and the copy keepFirst keeps in the two-set.
    const std::set<std::string> protectedOnes{"/d/3/c", "/d/five/two", "/d/two/a/first"};
    Review r({two, three, five}, protectedOnes);
    const auto summary = r.review.applyMarkRule(MarkRule::keepFirst);
    ASSERT_TRUE(summary);
    EXPECT_EQ(r.review.selectedForTrash(), (Marks{"/d/second", "/d/three/two", "/d/five/x/three",
                                                  "/d/five/x/y/z/four", "/d/f5"}));
    EXPECT_EQ(*summary, (MarkRuleSummary{5, 3, 2}));
    EXPECT_TRUE(r.review.hasProtectedLocationAlert());
    EXPECT_TRUE(everySetKeepsACopy(r.review, protectedOnes));
}

TEST(FolderMarks, wholeComponentsDecideAndASetWhollyInsideKeepsItsFirstCopy) {
    const auto inside = group("in", 1, {"/a/b/x/1", "/a/b/2", "/a/b/y/3"});
    const auto split = group("sp", 1, {"/a/bc/1", "/a/b/1", "/a/b"});
    const auto outside = group("out", 1, {"/a/bc/2", "/a/c/2"});
    Review r({inside, split, outside});

    // A trailing slash and a "." name the same folder; /a/bc is another one,
    // and /a/b as a file is not inside the folder /a/b.
    for (const char *folder : {"/a/b", "/a/b/", "/a/./b"}) {
        SCOPED_TRACE(folder);
        r.review.clearSelection();
        const auto summary = r.review.applyMarkRule(MarkRule::markInFolder, {nullptr, folder});
        EXPECT_EQ(r.review.selectedForTrash(), (Marks{"/a/b/2", "/a/b/y/3", "/a/b/1"}));
        EXPECT_EQ(*summary, (MarkRuleSummary{3, 2, 0}));
    }
    EXPECT_TRUE(MarkRules::isInsideFolder("/a/bc/1", "/"));

    // Marks outside the folder stay; where they and the folder's copies
    // would together take the whole set, the first copy inside stays.
    r.review.clearSelection();
    toggle(r.review, "/a/bc/1");
    toggle(r.review, "/a/b");
    toggle(r.review, "/a/c/2");
    r.review.applyMarkRule(MarkRule::markInFolder, {nullptr, "/a/b"});
    EXPECT_EQ(r.review.selectedForTrash(),
              (Marks{"/a/b/2", "/a/b/y/3", "/a/bc/1", "/a/b", "/a/c/2"}));
    EXPECT_TRUE(everySetKeepsACopy(r.review, {}));
}

TEST(InvertMarks, flipsEachSetButNeverMarksAProtectedCopyOrAWholeSet) {
    const auto guarded = group("gg", 1, {"/d/p", "/d/x", "/d/y"});
    const auto plain = group("pp", 1, {"/d/m", "/d/n", "/d/o"});
    Review r({guarded, plain}, {"/d/p"});
    toggle(r.review, "/d/x");

    auto summary = r.review.applyMarkRule(MarkRule::invert);
    // /d/p would flip to marked and stays; nothing in plain was marked, so
    // flipping would take all of it, and its first copy stays.
    EXPECT_EQ(r.review.selectedForTrash(), (Marks{"/d/y", "/d/n", "/d/o"}));
    EXPECT_EQ(*summary, (MarkRuleSummary{3, 2, 1}));
    EXPECT_TRUE(r.review.hasProtectedLocationAlert());

    r.review.dismissProtectedLocation();
    summary = r.review.applyMarkRule(MarkRule::invert);
    EXPECT_EQ(r.review.selectedForTrash(), (Marks{"/d/x", "/d/m"}));
    EXPECT_EQ(*summary, (MarkRuleSummary{2, 2, 1}));
}

TEST(ShownSets, aSearchLimitsTheRuleToTheSetsItLeavesAndOnlyTheExactGroupedViewTakesRules) {
    const auto holiday = group("hh", 1, {"/d/holiday.jpg", "/d/old/copy.jpg"});
    const auto taxes = group("tx", 1, {"/d/taxes.pdf", "/d/old/taxes.pdf", "/d/new/taxes.pdf"});
    const auto notes = group("nt", 1, {"/d/notes.txt", "/d/old/notes.txt"});
    Review r({holiday, taxes, notes});
    toggle(r.review, "/d/taxes.pdf");
    toggle(r.review, "/d/notes.txt");

    // The search shows one row of holiday's set; the rule still takes the set
    // whole, and the hidden sets keep their marks, both marked and unmarked.
    r.review.setSearchText("HOLIDAY");
    const auto summary = r.review.applyMarkRule(MarkRule::keepShortestPath);
    EXPECT_EQ(r.review.selectedForTrash(),
              (Marks{"/d/old/copy.jpg", "/d/taxes.pdf", "/d/notes.txt"}));
    EXPECT_EQ(*summary, (MarkRuleSummary{1, 1, 0}));

    r.review.setSearchText("nothing matches this");
    EXPECT_EQ(*r.review.applyMarkRule(MarkRule::invert), (MarkRuleSummary{}));

    const auto before = r.review.selectedForTrash();
    r.review.setSearchText("");
    r.review.showDuplicateFiles();
    EXPECT_FALSE(r.review.applyMarkRule(MarkRule::keepFirst));
    r.review.selectCategory(MatchCategory::sameName);
    EXPECT_FALSE(r.review.applyMarkRule(MarkRule::invert));
    EXPECT_EQ(r.review.selectedForTrash(), before);
}

TEST(MarkUndo, takesBackClicksRulesAndClearingNewestFirstUpToTwentySteps) {
    Review r({three, five}, {"/d/five/two"});
    // A mark the sweep takes straight back changed nothing, so it is no step.
    toggle(r.review, "/d/five/two");
    EXPECT_TRUE(r.review.selectedForTrash().empty());
    EXPECT_FALSE(r.review.canUndoMarks());
    toggle(r.review, "/d/3/c");
    const Marks afterClick = r.review.selectedForTrash();
    r.review.applyMarkRule(MarkRule::keepFirst);
    const Marks afterRule = r.review.selectedForTrash();
    r.review.clearSelection();
    // A refused click changes nothing and is no step.
    toggle(r.review, "/d/3/c");
    toggle(r.review, "/d/three/two");
    toggle(r.review, "/d/three/a/b/one");
    ASSERT_TRUE(r.review.cleanupGuard());
    ASSERT_EQ(r.review.selectedForTrash().size(), 2u);

    r.review.undoMarks();
    r.review.undoMarks();
    EXPECT_TRUE(r.review.selectedForTrash().empty());
    r.review.undoMarks();
    EXPECT_EQ(r.review.selectedForTrash(), afterRule);
    r.review.undoMarks();
    EXPECT_EQ(r.review.selectedForTrash(), afterClick);
    r.review.undoMarks();
    EXPECT_TRUE(r.review.selectedForTrash().empty());
    EXPECT_FALSE(r.review.canUndoMarks());
    r.review.undoMarks();
    EXPECT_TRUE(r.review.selectedForTrash().empty());

    // The sweep's removal belongs to the step that caused it: /d/f5 becomes
    // protected after it was marked, the next click sweeps it out, and the
    // undo of that click puts back the marks as they stood before it.
    toggle(r.review, "/d/f5");
    r.protectedPaths.insert("/d/f5");
    toggle(r.review, "/d/3/c");
    EXPECT_EQ(r.review.selectedForTrash(), (Marks{"/d/3/c"}));
    r.protectedPaths.erase("/d/f5");
    r.review.undoMarks();
    EXPECT_EQ(r.review.selectedForTrash(), (Marks{"/d/f5"}));

    r.review.clearSelection();
    const auto files = three.files;
    for (int i = 0; i < 25; ++i)
        toggle(r.review, files[static_cast<std::size_t>(i % 2)].url);
    int undone = 0;
    while (r.review.canUndoMarks()) {
        r.review.undoMarks();
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(MarkHistory::depth));
    // 25 clicks alternate mark and unmark; the 20 newest undone leave the
    // state after the fifth: the first copy marked.
    EXPECT_EQ(r.review.selectedForTrash(), (Marks{files[0].url}));

    toggle(r.review, files[1].url);
    r.review.setResult(resultOf({three, five}));
    EXPECT_FALSE(r.review.canUndoMarks()) << "a new result starts a new history";
}

TEST(MarkInvariant, noSequenceOfRulesClicksSearchesAndUndoEverLeavesASetFullyMarked) {
    std::mt19937 random(20261206);
    std::vector<DuplicateGroup> groups;
    std::set<std::string> protectedOnes;
    std::vector<std::pair<std::size_t, std::size_t>> timed;
    const char *folders[] = {"/r/a", "/r/b", "/r/a/b"};
    for (int g = 0; g < 40; ++g) {
        DuplicateGroup set;
        set.hash = "h" + std::to_string(g);
        set.size = 1;
        const int copies = 2 + static_cast<int>(random() % 4);
        for (int c = 0; c < copies; ++c) {
            const std::string path = std::string(folders[random() % 3]) + "/g" + std::to_string(g) +
                                     (c % 2 ? "-x" : "-y") + std::to_string(c);
            set.files.push_back({path, 1});
            if (random() % 9 == 0)
                protectedOnes.insert(path);
            if (random() % 7 != 0)
                timed.emplace_back(groups.size(), set.files.size() - 1);
        }
        groups.push_back(std::move(set));
    }
    ModificationTimes times(resultOf(groups));
    for (const auto &[g, i] : timed)
        times.set(g, i, static_cast<std::int64_t>(random() % 5));
    Review r(groups, protectedOnes);
    const char *searches[] = {"", "-x", "g1", "y3"};
    for (int step = 0; step < 2000; ++step) {
        switch (random() % 5) {
        case 0:
        case 1: {
            const auto rule = MarkRule::allCases()[random() % MarkRule::allCases().size()];
            r.review.applyMarkRule(rule, {&times, folders[random() % 3]});
            break;
        }
        case 2: {
            const auto shown = r.review.searchedGroups();
            if (shown.empty())
                break;
            const auto &g = shown[random() % shown.size()];
            r.review.toggleTrash(g.files[random() % g.files.size()], r.review.fullGroup(g));
            break;
        }
        case 3:
            r.review.setSearchText(searches[random() % 4]);
            break;
        case 4:
            if (random() % 4 == 0)
                r.review.clearSelection();
            else
                r.review.undoMarks();
            break;
        }
        ASSERT_TRUE(everySetKeepsACopy(r.review, protectedOnes)) << "after step " << step;
    }
}
