// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/history.h"
#include "platform/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::ToUtf8;
using namespace std::literals;

// The entries as text: each query, with '*' for an Esperanto entry.
std::string Describe(const cHistory& h) {
    std::string out;
    for (const HistoryEntry& e : h.entries) {
        out += (out.empty() ? "" : " ") + ToUtf8(e.query) + (e.isEsperanto ? "*" : "");
    }
    return out;
}

// "B" when CanGoBack, "F" when CanGoForward, "-" otherwise.
std::string Moves(const cHistory& h) {
    return std::string(h.CanGoBack() ? "B" : "-") + (h.CanGoForward() ? "F" : "-");
}

enum class Op { Push, Back, Forward, ToSearch, ToReader };

const std::vector<ArticleRef> kOneRef = {{1, 2}};

struct Step {
    Op op;
    std::u16string_view query = u"";
    bool isEsperanto = false;
    std::vector<ArticleRef> refs = kOneRef;
    // After the step:
    const char* entries = "";
    int cursor = 0;
    const char* moves = "--";
    const char* returned = ""; // query of the entry Back or Forward returned
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
};

// Three lookups a, b, c, with the search window in front.
std::vector<Step> ThreeLookups() {
    return {{.op = Op::Push, .query = u"a", .entries = "a", .cursor = 1, .moves = "B-"},
            {.op = Op::Push, .query = u"b", .entries = "a b", .cursor = 2, .moves = "B-"},
            {.op = Op::Push, .query = u"c", .entries = "a b c", .cursor = 3, .moves = "B-"}};
}

std::vector<Step> Then(std::vector<Step> first, const std::vector<Step>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

TEST(History, OperationSequencesUnderBothConventions) {
    const Scenario scenarios[] = {
        {"a new history",
         {{.op = Op::ToReader, .moves = "--"},
          {.op = Op::ToSearch, .moves = "--"},
          {.op = Op::Push, .query = u"a", .entries = "a", .cursor = 1, .moves = "B-"}}},
        {"pushing the current entry again adds nothing",
         Then(ThreeLookups(),
              {{.op = Op::Push, .query = u"c", .entries = "a b c", .cursor = 3, .moves = "B-"}})},
        {"pushing the current entry in the middle drops what lies ahead",
         Then(ThreeLookups(),
              {{.op = Op::Back, .entries = "a b c", .cursor = 2, .moves = "BF", .returned = "c"},
               {.op = Op::ToReader, .entries = "a b c", .cursor = 2, .moves = "B-"},
               {.op = Op::Back, .entries = "a b c", .cursor = 1, .moves = "BF", .returned = "b"},
               {.op = Op::ToSearch, .entries = "a b c", .cursor = 1, .moves = "BF"},
               {.op = Op::Push, .query = u"a", .entries = "a", .cursor = 1, .moves = "B-"}})},
        {"same text and references in the other direction is a new entry",
         {{.op = Op::Push, .query = u"a", .entries = "a", .cursor = 1, .moves = "B-"},
          {.op = Op::Push,
           .query = u"a",
           .isEsperanto = true,
           .entries = "a a*",
           .cursor = 2,
           .moves = "B-"},
          {.op = Op::Push,
           .query = u"a",
           .isEsperanto = true,
           .entries = "a a*",
           .cursor = 2,
           .moves = "B-"}}},
        {"same references in another order is a new entry",
         {{.op = Op::Push,
           .query = u"a",
           .refs = {{1, 2}, {3, 4}},
           .entries = "a",
           .cursor = 1,
           .moves = "B-"},
          {.op = Op::Push,
           .query = u"a",
           .refs = {{3, 4}, {1, 2}},
           .entries = "a a",
           .cursor = 2,
           .moves = "B-"},
          {.op = Op::Push,
           .query = u"a",
           .refs = {},
           .entries = "a a a",
           .cursor = 3,
           .moves = "B-"},
          {.op = Op::Push,
           .query = u"A",
           .refs = {},
           .entries = "a a a A",
           .cursor = 4,
           .moves = "B-"}}},
        {"an equal entry further back does not stop a push",
         Then(ThreeLookups(),
              {{.op = Op::Push, .query = u"a", .entries = "a b c a", .cursor = 4, .moves = "B-"}})},
        {"pushing in the middle overwrites the entry at the cursor",
         Then(ThreeLookups(),
              {{.op = Op::Back, .entries = "a b c", .cursor = 2, .moves = "BF", .returned = "c"},
               {.op = Op::ToReader, .entries = "a b c", .cursor = 2, .moves = "B-"},
               {.op = Op::Back, .entries = "a b c", .cursor = 1, .moves = "BF", .returned = "b"},
               {.op = Op::ToSearch, .entries = "a b c", .cursor = 1, .moves = "BF"},
               {.op = Op::Push, .query = u"d", .entries = "a d", .cursor = 2, .moves = "B-"}})},
        {"pushing at cursor 0 keeps only the new entry",
         Then(ThreeLookups(),
              {{.op = Op::ToReader, .entries = "a b c", .cursor = 3, .moves = "B-"},
               {.op = Op::Back, .entries = "a b c", .cursor = 2, .moves = "B-", .returned = "c"},
               {.op = Op::Back, .entries = "a b c", .cursor = 1, .moves = "BF", .returned = "b"},
               {.op = Op::Back, .entries = "a b c", .cursor = 0, .moves = "-F", .returned = "a"},
               {.op = Op::ToSearch, .entries = "a b c", .cursor = 0, .moves = "-F"},
               {.op = Op::Push, .query = u"z", .entries = "z", .cursor = 1, .moves = "B-"}})},
        {"back from the search window reopens the current entry",
         Then(ThreeLookups(),
              {{.op = Op::Back, .entries = "a b c", .cursor = 2, .moves = "BF", .returned = "c"},
               {.op = Op::ToReader, .entries = "a b c", .cursor = 2, .moves = "B-"},
               {.op = Op::ToSearch, .entries = "a b c", .cursor = 2, .moves = "BF"},
               {.op = Op::Forward, .entries = "a b c", .cursor = 2, .moves = "BF", .returned = "c"},
               {.op = Op::ToReader, .entries = "a b c", .cursor = 2, .moves = "B-"}})},
        {"forward from the search window leaves the cursor, from the reader moves it",
         Then(ThreeLookups(),
              {{.op = Op::ToReader, .entries = "a b c", .cursor = 3, .moves = "B-"},
               {.op = Op::Back, .entries = "a b c", .cursor = 2, .moves = "B-", .returned = "c"},
               {.op = Op::Back, .entries = "a b c", .cursor = 1, .moves = "BF", .returned = "b"},
               {.op = Op::Back, .entries = "a b c", .cursor = 0, .moves = "-F", .returned = "a"},
               {.op = Op::ToSearch, .entries = "a b c", .cursor = 0, .moves = "-F"},
               {.op = Op::Forward, .entries = "a b c", .cursor = 0, .moves = "-F", .returned = "a"},
               {.op = Op::ToReader, .entries = "a b c", .cursor = 0, .moves = "-F"},
               {.op = Op::Forward, .entries = "a b c", .cursor = 1, .moves = "BF", .returned = "b"},
               {.op = Op::Forward, .entries = "a b c", .cursor = 2, .moves = "B-", .returned = "c"},
               {.op = Op::ToSearch, .entries = "a b c", .cursor = 2, .moves = "BF"},
               {.op = Op::Forward, .entries = "a b c", .cursor = 2, .moves = "BF", .returned = "c"},
               // Leaving the reader with a forward whose result is ignored.
               {.op = Op::ToReader, .entries = "a b c", .cursor = 2, .moves = "B-"},
               {.op = Op::ToSearch, .entries = "a b c", .cursor = 2, .moves = "BF"}})},
        {"the query is taken up to its first NUL",
         {{.op = Op::Push, .query = u"ab\0cd"sv, .entries = "ab", .cursor = 1, .moves = "B-"},
          {.op = Op::Push, .query = u"ab", .entries = "ab", .cursor = 1, .moves = "B-"}}},
    };

    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        cHistory h;
        // The program saves the file on each call: it comes exactly once for
        // each step that changes what the file holds, and never otherwise.
        int changes = 0;
        h.onChange = [&] { ++changes; };
        int index = 0;
        for (const Step& step : scenario.steps) {
            SCOPED_TRACE("step " + std::to_string(index++));
            const std::deque<HistoryEntry> entriesBefore = h.entries;
            const std::int32_t cursorBefore = h.cursor;
            changes = 0;
            std::string returned;
            switch (step.op) {
            case Op::Push:
                h.Push(step.query, step.refs, step.isEsperanto);
                break;
            case Op::Back:
                ASSERT_TRUE(h.CanGoBack());
                returned = ToUtf8(h.Back().query);
                break;
            case Op::Forward:
                ASSERT_TRUE(h.CanGoForward());
                returned = ToUtf8(h.Forward().query);
                break;
            case Op::ToSearch:
                h.searchView = true;
                break;
            case Op::ToReader:
                h.searchView = false;
                break;
            }
            EXPECT_EQ(Describe(h), step.entries);
            EXPECT_EQ(h.cursor, step.cursor);
            EXPECT_EQ(Moves(h), step.moves);
            EXPECT_EQ(returned, step.returned);
            EXPECT_EQ(changes, h.entries != entriesBefore || h.cursor != cursorBefore ? 1 : 0);
        }
    }
}

TEST(History, PushStoresTheWholeEntry) {
    cHistory h;
    const std::vector<ArticleRef> refs = {{10, 20}, {30, 40}};
    h.Push(u"ĉapelo", refs, true);
    ASSERT_EQ(h.entries.size(), 1u);
    EXPECT_EQ(h.entries[0], (HistoryEntry{refs, u"ĉapelo", true}));
}

TEST(History, CurrentQueryFollowsTheSearchWindowReading) {
    cHistory h;
    EXPECT_EQ(h.CurrentQuery(), u"");
    h.Push(u"первое", kOneRef, false);
    h.Push(u"dua", kOneRef, true);
    EXPECT_EQ(h.CurrentQuery(), u"dua");
    h.searchView = false; // the flag is not consulted
    h.Back();
    EXPECT_EQ(h.CurrentQuery(), u"первое");
    h.Back();
    EXPECT_EQ(h.CurrentQuery(), u"");
}

std::u16string Name(int i) {
    return u"q" + std::u16string(1, static_cast<char16_t>(u'0' + i / 10)) +
           static_cast<char16_t>(u'0' + i % 10);
}

TEST(History, PushAtTheEndOfAFullHistoryDropsTheOldest) {
    cHistory h;
    for (int i = 0; i < 40; ++i) {
        h.Push(Name(i), kOneRef, false);
    }
    ASSERT_EQ(h.entries.size(), HISTORY_MAX_ENTRIES);
    h.Push(u"new", kOneRef, false);
    EXPECT_EQ(h.entries.size(), 40u);
    EXPECT_EQ(h.cursor, 40);
    EXPECT_EQ(h.entries.front().query, Name(1));
    EXPECT_EQ(h.entries.back().query, u"new");
}

TEST(History, PushInTheMiddleOfAFullHistoryKeepsTheOldest) {
    cHistory h;
    for (int i = 0; i < 40; ++i) {
        h.Push(Name(i), kOneRef, false);
    }
    h.Back();
    h.Back(); // cursor 38, search window in front again
    h.Push(u"new", kOneRef, false);
    EXPECT_EQ(h.entries.size(), 39u);
    EXPECT_EQ(h.cursor, 39);
    EXPECT_EQ(h.entries.front().query, Name(0));
    EXPECT_EQ(h.entries.back().query, u"new");
}

TEST(History, LongerHistoryKeepsItsLength) {
    cHistory h;
    for (int i = 0; i < 50; ++i) {
        h.entries.push_back({kOneRef, Name(i), false});
    }
    h.cursor = 50;
    for (int i = 0; i < 3; ++i) {
        h.Push(u"new" + Name(i), kOneRef, false);
        EXPECT_EQ(h.entries.size(), 50u);
        EXPECT_EQ(h.cursor, 50);
        EXPECT_EQ(h.entries.front().query, Name(i + 1));
    }
}

TEST(History, PushMayBeGivenAnEntryOfItsOwn) {
    cHistory h;
    for (int i = 0; i < 40; ++i) {
        h.Push(Name(i), {{static_cast<std::uint32_t>(i), 99}}, false);
    }
    // Entry 0 goes while the new one is recorded; its contents must survive.
    h.Push(h.entries[0].query, h.entries[0].refs, true);
    EXPECT_EQ(h.entries.back(), (HistoryEntry{{{0, 99}}, Name(0), true}));
}

// Back and Forward against their precondition: a debug build stops, a release
// build hands out the nearest entry and leaves the cursor alone.
struct MisuseCase {
    const char* name;
    int entries;
    int cursor;
    bool searchView;
    bool back;
    const char* returned;
};

TEST(HistoryDeathTest, BackAndForwardNeverReadOutsideTheEntries) {
    const MisuseCase cases[] = {
        {"back, empty", 0, 0, true, true, ""},
        {"forward, empty, search window", 0, 0, true, false, ""},
        {"forward, empty, reader", 0, 0, false, false, ""},
        {"back at cursor 0", 3, 0, true, true, "q00"},
        {"forward past the end, search window", 3, 3, true, false, "q02"},
        {"forward past the end, reader", 3, 2, false, false, "q02"},
        {"back with a cursor beyond the entries", 3, 9, true, true, "q02"},
        {"forward with a negative cursor", 3, -4, true, false, "q00"},
    };
    for (const MisuseCase& c : cases) {
        SCOPED_TRACE(c.name);
        cHistory h;
        for (int i = 0; i < c.entries; ++i) {
            h.entries.push_back({kOneRef, Name(i), false});
        }
        h.cursor = c.cursor;
        h.searchView = c.searchView;
        const HistoryEntry* got = nullptr;
        EXPECT_DEBUG_DEATH(got = c.back ? &h.Back() : &h.Forward(), "without an entry");
        if (got != nullptr) { // release build: the call returned
            EXPECT_EQ(ToUtf8(got->query), c.returned);
            EXPECT_EQ(h.cursor, c.cursor);
        }
    }
}

} // namespace
