// SPDX-License-Identifier: GPL-3.0-or-later
// The ordered record list: cursor moves, insertion, deletion and ordering.
#include "common/LinkLst.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

struct Rec {
    int key = 0;
    int tag = 0; // tells equal keys apart
};

class KeyList : public RecordList<Rec> {
protected:
    bool ComesAfter(const Rec& a, const Rec& b) const override { return a.key > b.key; }
};

std::vector<int> keys(KeyList& l) {
    std::vector<int> out;
    l.Reset();
    while (const Rec* r = l.Next())
        out.push_back(r->key);
    return out;
}

// The chain read backwards from the last node matches the forward walk.
void expectConsistent(KeyList& l) {
    std::vector<int> backward;
    if (l.GoToIndex(l.LastIndex())) {
        EXPECT_TRUE(l.AtLast());
        backward.push_back(l.Current()->key);
        while (const Rec* r = l.Previous())
            backward.push_back(r->key);
    }
    std::reverse(backward.begin(), backward.end());
    const auto forward = keys(l);
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(int(forward.size()), l.Count());
}

TEST(RecordList, InsertOrderedKeepsOrderAndEveryEqualFromAnyCursor) {
    KeyList fixed;
    for (int k : {3, 1, 2})
        fixed.InsertOrdered(Rec{k});
    EXPECT_EQ(keys(fixed), (std::vector<int>{1, 2, 3}));

    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        KeyList l;
        std::vector<int> expected;
        for (int i = 0; i < 30; ++i) {
            const int k = int(rng() % 8); // many equal keys
            const int at = int(rng() % (l.Count() + 1)) - 1;
            if (at < 0)
                l.Reset(); // before the first node
            else
                l.GoToIndex(at);
            l.InsertOrdered(Rec{k, i});
            ASSERT_EQ(l.Current()->tag, i) << "the cursor is on the new record";
            expected.push_back(k);
        }
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(keys(l), expected);
        expectConsistent(l);
    }
}

TEST(RecordList, CursorMovesAndIndexes) {
    KeyList l;
    l.Reset();
    EXPECT_TRUE(l.AtFirst() && l.AtLast() && l.IsEmpty()); // a walk of nothing ends at once
    EXPECT_EQ(l.Next(), nullptr);
    EXPECT_EQ(l.GoToIndex(0), nullptr);

    for (int k : {10, 20, 30, 40})
        l.InsertOrdered(Rec{k});
    l.Reset();
    EXPECT_FALSE(l.AtFirst());
    EXPECT_EQ(l.Next()->key, 10);
    EXPECT_TRUE(l.AtFirst());
    // Out of range: nothing, and the cursor stays.
    EXPECT_EQ(l.GoToIndex(l.LastIndex() + 1), nullptr);
    EXPECT_EQ(l.GoToIndex(-1), nullptr);
    EXPECT_EQ(l.CursorIndex(), 0);
    EXPECT_EQ(l.GoToIndex(3)->key, 40);
    EXPECT_TRUE(l.AtLast());
    EXPECT_EQ(l.GoToIndex(3)->key, 40);
    EXPECT_EQ(l.GoToIndex(1)->key, 20);
    // Past the end: nothing (index -1), then from the start again.
    l.GoToIndex(3);
    EXPECT_EQ(l.Next(), nullptr);
    EXPECT_EQ(l.CursorIndex(), -1);
    EXPECT_EQ(l.Next()->key, 10);
    EXPECT_EQ(l.Previous(), nullptr);
    EXPECT_EQ(l.CursorIndex(), -1);
}

TEST(RecordList, InsertAndDeleteAtTheCursor) {
    KeyList l;
    l.InsertAfterCursor(Rec{2}); // empty: at the head
    l.InsertAfterCursor(Rec{4}); // after the cursor: the new last node
    EXPECT_TRUE(l.AtLast());
    l.InsertAtHead(Rec{1});
    EXPECT_EQ(l.CursorIndex(), 0);
    l.GoToIndex(1);
    l.InsertAfterCursor(Rec{3});
    EXPECT_EQ(l.CursorIndex(), 2);
    l.Reset();
    l.InsertAfterCursor(Rec{0}); // before the first node: at the head
    l.InsertAtHead(nullptr);     // a missing record inserts nothing
    l.InsertAfterCursor(nullptr);
    l.InsertOrdered(nullptr);
    EXPECT_EQ(keys(l), (std::vector<int>{0, 1, 2, 3, 4}));
    expectConsistent(l);

    l.GoToIndex(0);
    l.DeleteAtCursor(); // the first node: the cursor before the new first
    EXPECT_EQ(l.CursorIndex(), -1);
    EXPECT_EQ(l.Next()->key, 1);
    l.GoToIndex(2);
    l.DeleteAtCursor(); // a middle node: the cursor on its predecessor
    EXPECT_EQ(l.Current()->key, 2);
    l.GoToIndex(2);
    l.DeleteAtCursor(); // the last node
    EXPECT_TRUE(l.AtLast());
    l.Reset();
    l.DeleteAtCursor(); // before the first node: nothing happens
    EXPECT_EQ(keys(l), (std::vector<int>{1, 2}));
    expectConsistent(l);
}

TEST(RecordList, OwnsCopiesAndEmptiesCompletely) {
    KeyList l;
    Rec r{5};
    l.InsertAtHead(r);
    r.key = 6;                      // the caller's record is not the stored one
    l.Current()->key = 9;           // the stored one is the list's
    l.InsertAtHead(l.GoToIndex(0)); // a copy of one of its own records
    EXPECT_EQ(keys(l), (std::vector<int>{9, 9}));
    l.Empty();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.CursorIndex(), -1);
    EXPECT_EQ(l.LastIndex(), -1);
    for (int k : {2, 1})
        l.InsertOrdered(Rec{k});
    EXPECT_EQ(keys(l), (std::vector<int>{1, 2}));
}

} // namespace
