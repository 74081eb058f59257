#include "displaygroups.h"
#include "filenamesearch.h"
#include "groupsort.h"
#include "resultfixture.h"
#include "resultreview.h"
#include "unicodetext.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

using namespace twinsift;
using namespace twinsift::testing;

using Strings = std::vector<std::string>;

namespace {

Strings idsOf(const std::vector<DisplayGroup> &groups) {
    Strings out;
    for (const auto &g : groups)
        out.push_back(g.id);
    return out;
}

// The ids of groups in the order a sort puts them, as a table shows them.
Strings sortedIds(const std::vector<DisplayGroup> &groups, GroupSort mode, const PathOrder &order) {
    std::vector<const DisplayGroup *> shown;
    for (const auto &g : groups)
        shown.push_back(&g);
    DisplayGroups::sort(shown, mode, order);
    Strings out;
    for (const auto *g : shown)
        out.push_back(g->id);
    return out;
}

} // namespace

TEST(ExactGroups, keepResultOrderAndReportWholeSetSavingsWhileTheFlatListIsInPathOrder) {
    PathOrder order;
    const auto r =
        resultOf({group("bb", 100, {"/d/z", "/d/b10", "/d/m"}), group("aa", 50, {"/d/y", "/d/B2"})},
                 {file("/d/single", 30)});
    const auto groups = DisplayGroups::exactGroups(r);
    EXPECT_EQ(idsOf(groups), (Strings{"exact:bb", "exact:aa"}));
    EXPECT_EQ(pathsOf(groups[0].files), (Strings{"/d/z", "/d/b10", "/d/m"}));
    EXPECT_EQ(groups[0].reclaimableBytes, 200u);
    EXPECT_EQ(groups[1].reclaimableBytes, 50u);
    EXPECT_EQ(pathsOf(DisplayGroups::duplicateFiles(r, order)),
              (Strings{"/d/B2", "/d/b10", "/d/m", "/d/y", "/d/z"}));
}

TEST(ReviewOnlyGroups, nameCaseIsIgnoredAndSizeSplitsOnlyTheNameSizeCategory) {
    PathOrder order;
    const auto r = resultOf({}, {file("/data/one/A.txt", 700), file("/data/two/a.TXT", 700),
                                 file("/data/three/a.txt", 900), file("/data/lonely.txt", 700)});

    const auto nameSize = DisplayGroups::sameNameSizeGroups(r, order);
    ASSERT_EQ(nameSize.size(), 1u);
    EXPECT_EQ(nameSize[0].id, "name-size:a.txt|700");
    EXPECT_EQ(pathsOf(nameSize[0].files), (Strings{"/data/one/A.txt", "/data/two/a.TXT"}));
    EXPECT_FALSE(nameSize[0].reclaimableBytes);

    // Derived from every scanned file, even where no exact set exists.
    ResultReview review(r);
    EXPECT_EQ(review.categoryCount(MatchCategory::exact), 0);
    EXPECT_EQ(review.categoryCount(MatchCategory::sameNameSize), 1);

    const auto name = DisplayGroups::sameNameGroups(r, order);
    ASSERT_EQ(name.size(), 1u);
    EXPECT_EQ(name[0].id, "name:a.txt");
    // Files of a review group are listed in path order, not scan order.
    EXPECT_EQ(pathsOf(name[0].files),
              (Strings{"/data/one/A.txt", "/data/three/a.txt", "/data/two/a.TXT"}));
}

TEST(ReviewOnlyGroups, keysOrderByNormalisedCodePointsAndCanonicalFormsMeet) {
    PathOrder order;
    // "e" + combining acute and the precomposed "é" are the same name.
    const auto r = resultOf({}, {file("/d/9.txt", 1), file("/e/9.txt", 1), file("/d/10.txt", 1),
                                 file("/e/10.txt", 1), file("/d/caf\xc3\xa9", 1),
                                 file("/e/CAFE\xcc\x81", 1), file("/d/Zed", 1), file("/e/zed", 1)});
    const auto groups = DisplayGroups::sameNameGroups(r, order);
    // A file manager would put 9 before 10; the key order is by code point.
    EXPECT_EQ(idsOf(groups),
              (Strings{"name:10.txt", "name:9.txt", "name:caf\xc3\xa9", "name:zed"}));
}

TEST(ReviewOnlyGroups, aLargeTreeGroupsAsEveryFileKeyedByItsNameWould) {
    // Names from a small pool, in several cases and both Unicode forms,
    // spread over folders, with a few sizes: many groups, many singles.
    const std::vector<std::string> pool{"IMG_0001.JPG",     "img_0001.jpg", "caf\xc3\xa9.txt",
                                        "CAFE\xcc\x81.TXT", "notes.md",     "a"};
    std::vector<DuplicateFile> scanned;
    for (int i = 0; i < 3000; ++i) {
        const bool single = i % 7 == 0;
        const std::string name = single ? "only" + std::to_string(i) : pool[i % pool.size()];
        scanned.push_back(
            file("/t/" + std::to_string(i % 97) + "/" + std::to_string(i) + "/" + name,
                 static_cast<std::uint64_t>(100 + i % 3)));
    }
    const auto r = resultOf({}, scanned);
    PathOrder order;
    const auto expect = [&](bool withSize) {
        std::map<std::string, std::vector<DuplicateFile>> byKey;
        for (const auto &f : scanned)
            byKey[unicodetext::foldedFileName(f.url) +
                  (withSize ? "|" + std::to_string(f.size) : std::string())]
                .push_back(f);
        Strings out;
        for (auto &[key, files] : byKey) {
            if (files.size() < 2)
                continue;
            order.sort(files, [](const DuplicateFile &f) -> std::string_view { return f.url; });
            out.push_back(key);
            for (const auto &f : files)
                out.push_back(f.url);
        }
        return out;
    };
    const auto flatten = [](const std::vector<DisplayGroup> &groups, const std::string &prefix) {
        Strings out;
        for (const auto &g : groups) {
            out.push_back(g.id.substr(prefix.size()));
            for (const auto &f : g.files)
                out.push_back(f.url);
        }
        return out;
    };
    const auto nameSize = DisplayGroups::sameNameSizeGroups(r, order);
    const auto name = DisplayGroups::sameNameGroups(r, order);
    EXPECT_EQ(flatten(nameSize, "name-size:"), expect(true));
    EXPECT_EQ(flatten(name, "name:"), expect(false));
    // Six spellings of four names: four name groups, whatever case or form.
    EXPECT_EQ(name.size(), 4u);
    for (std::size_t i = 0; i < name.size(); ++i)
        EXPECT_EQ(name[i].accentIndex, static_cast<std::int64_t>(i));
}

TEST(Search, trimsBlanksAndLineBreaksAndLooksOnlyAtFileNames) {
    const FilenameSearch search(" PHOTO\n");
    EXPECT_EQ(search.query(), "photo");
    const std::vector<DuplicateFile> files{file("/d/holiday_photo.jpg", 1), file("/d/Photo.png", 1),
                                           file("/d/Photos/readme.txt", 1)};
    EXPECT_EQ(pathsOf(search.filterFiles(files)),
              (Strings{"/d/holiday_photo.jpg", "/d/Photo.png"}));

    EXPECT_TRUE(FilenameSearch("\u2003 \t\n").isBlank());
    EXPECT_EQ(FilenameSearch("\t").filterFiles(files).size(), 3u);
    // Non-ASCII capitals fold too, whichever way the name encodes its accents.
    EXPECT_TRUE(FilenameSearch("\xc3\x89T\xc3\x89").matches(file("/d/e\xcc\x81te\xcc\x81.mov", 1)));
}

TEST(Search, filteredExactGroupKeepsItsWholeSavingsAndTheCountIgnoresTheSearch) {
    ResultReview review(
        resultOf({group("aa", 1000, {"/d/a/report.pdf", "/d/b/copy.pdf", "/d/c/other.pdf"}),
                  group("bb", 10, {"/d/x.bin", "/d/y.bin"})}));
    review.setSearchText("REPORT");
    const auto shown = review.searchedGroups();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].id, "exact:aa");
    EXPECT_EQ(pathsOf(shown[0].files), (Strings{"/d/a/report.pdf"}));
    EXPECT_EQ(shown[0].reclaimableBytes, 2000u);
    EXPECT_EQ(review.categoryCount(MatchCategory::exact), 2);

    review.setSearchText("nothing-like-this");
    EXPECT_TRUE(review.searchedGroups().empty());
}

TEST(GroupSorting, eachSortIsStableAndUsesTheFirstFileOfTheFilteredGroup) {
    PathOrder order;
    const auto make = [](std::string id, std::optional<std::uint64_t> reclaimable,
                         std::vector<DuplicateFile> files) {
        DisplayGroup g;
        g.id = std::move(id);
        g.reclaimableBytes = reclaimable;
        g.files = std::move(files);
        return g;
    };
    const std::vector<DisplayGroup> groups{
        make("p", 10, {file("/d/b10", 5), file("/d/x", 5)}),
        make("q", 30, {file("/d/B2", 7), file("/d/y", 7), file("/d/z", 7)}),
        make("r", std::nullopt, {file("/d/a", 7), file("/d/w", 7)}),
        make("s", 10, {file("/e/b2", 1), file("/e/v", 1)}),
    };
    const auto sorted = [&](GroupSort s) { return sortedIds(groups, s, order); };
    EXPECT_EQ(sorted(GroupSort::reclaimable), (Strings{"q", "p", "s", "r"}));
    EXPECT_EQ(sorted(GroupSort::fileCount), (Strings{"q", "p", "r", "s"}));
    EXPECT_EQ(sorted(GroupSort::fileSize), (Strings{"q", "r", "p", "s"}));
    // Names compare case-insensitively with numbers by value; B2 and b2 tie.
    EXPECT_EQ(sorted(GroupSort::filename), (Strings{"r", "q", "s", "p"}));
}

// More groups than a sort handles by insertion: where every key ties, only a
// stable sort keeps the order the groups came in, which is the order the
// user saw before choosing another sort.
TEST(GroupSorting, fortyGroupsThatTieKeepTheirOrderUnderEverySort) {
    PathOrder order;
    std::vector<DisplayGroup> groups;
    for (int i = 0; i < 40; ++i) {
        DisplayGroup g;
        // Ids out of any order a sort could fall back on.
        g.id = std::to_string((i * 17) % 40);
        g.reclaimableBytes = 4096;
        const std::string folder = "/d/" + std::to_string((i * 23) % 40);
        g.files = {file(folder + "/same.bin", 4096), file(folder + "/x/same.bin", 4096)};
        groups.push_back(std::move(g));
    }
    for (auto mode : GroupSort::allCases()) {
        SCOPED_TRACE(std::string(mode.rawValue()));
        EXPECT_EQ(sortedIds(groups, mode, order), idsOf(groups));
    }
}
