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

// Walks both ways and checks the indexes and ends agree with the chain.
void expectConsistent(KeyList& l) {
    const auto forward = keys(l);
    ASSERT_EQ(int(forward.size()), l.Count());
    std::vector<int> backward;
    if (!l.IsEmpty()) {
        l.GoToIndex(l.LastIndex());
        EXPECT_TRUE(l.AtLast());
        backward.push_back(l.Current()->key);
        while (const Rec* r = l.Previous())
            backward.push_back(r->key);
        EXPECT_EQ(l.CursorIndex(), -1);
    }
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(forward, backward);
}

KeyList* ordered(KeyList& l, std::initializer_list<int> ks) {
    int tag = 0;
    for (int k : ks)
        l.InsertOrdered(Rec{k, tag++});
    return &l;
}

TEST(RecordList, EmptyListWalksNothing) {
    KeyList l;
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.CursorIndex(), -1);
    EXPECT_EQ(l.LastIndex(), -1);
    l.Reset();
    EXPECT_TRUE(l.AtFirst());
    EXPECT_TRUE(l.AtLast());
    EXPECT_EQ(l.Next(), nullptr);
    EXPECT_EQ(l.Previous(), nullptr);
    EXPECT_EQ(l.GoToIndex(0), nullptr);
    l.DeleteAtCursor(); // nothing to delete
    l.Empty();
    EXPECT_EQ(l.CursorIndex(), -1);
}

TEST(RecordList, InsertOrderedSortsWhateverTheCursor) {
    struct Case {
        std::vector<int> in;
        std::vector<int> out;
    };
    const Case cases[] = {
        {{3, 1, 2}, {1, 2, 3}},
        {{1, 2, 3}, {1, 2, 3}},
        {{3, 2, 1}, {1, 2, 3}},
        {{5, 1, 4, 2, 3, 0, 6}, {0, 1, 2, 3, 4, 5, 6}},
        {{2, 2, 1, 2, 3, 2}, {1, 2, 2, 2, 2, 3}},
        {{7}, {7}},
    };
    for (const auto& c : cases) {
        KeyList l;
        int tag = 0;
        for (int k : c.in) {
            l.InsertOrdered(Rec{k, tag++});
            EXPECT_EQ(l.Current()->key, k) << "the cursor is on the new record";
        }
        EXPECT_EQ(keys(l), c.out);
        expectConsistent(l);
    }
}

TEST(RecordList, InsertOrderedFromEveryCursorPositionKeepsOrderAndEveryEqual) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        KeyList l;
        std::vector<int> expected;
        for (int i = 0; i < 30; ++i) {
            const int k = int(rng() % 8);
            // Put the cursor anywhere first, including before the first node.
            const int at = int(rng() % (l.Count() + 1)) - 1;
            if (at < 0)
                l.Reset();
            else
                l.GoToIndex(at);
            l.InsertOrdered(Rec{k, i});
            expected.push_back(k);
        }
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(keys(l), expected);
        expectConsistent(l);
    }
}

TEST(RecordList, CursorMovesAndIndexes) {
    KeyList l;
    ordered(l, {10, 20, 30, 40});
    l.Reset();
    EXPECT_FALSE(l.AtFirst());
    EXPECT_EQ(l.Next()->key, 10);
    EXPECT_TRUE(l.AtFirst());
    EXPECT_EQ(l.CursorIndex(), 0);

    // Out of range: nothing, cursor stays.
    EXPECT_EQ(l.GoToIndex(l.LastIndex() + 1), nullptr);
    EXPECT_EQ(l.GoToIndex(-1), nullptr);
    EXPECT_EQ(l.CursorIndex(), 0);
    EXPECT_EQ(l.Current()->key, 10);

    EXPECT_EQ(l.GoToIndex(3)->key, 40);
    EXPECT_TRUE(l.AtLast());
    EXPECT_EQ(l.GoToIndex(3)->key, 40); // the cursor's own index
    EXPECT_EQ(l.GoToIndex(1)->key, 20);
    EXPECT_EQ(l.CursorIndex(), 1);
    l.Reset();
    EXPECT_EQ(l.GoToIndex(2)->key, 30);

    // Past the end: nothing, then from the start again.
    l.GoToIndex(3);
    EXPECT_EQ(l.Next(), nullptr);
    EXPECT_EQ(l.CursorIndex(), -1);
    EXPECT_EQ(l.Next()->key, 10);
    EXPECT_EQ(l.Previous(), nullptr);
    EXPECT_EQ(l.CursorIndex(), -1);
}

TEST(RecordList, InsertAtHeadAndAfterCursor) {
    KeyList l;
    l.InsertAfterCursor(Rec{2}); // empty: at the head
    l.InsertAfterCursor(Rec{4}); // after the cursor, becomes the last
    EXPECT_TRUE(l.AtLast());
    l.InsertAtHead(Rec{1});
    EXPECT_EQ(l.CursorIndex(), 0);
    l.GoToIndex(1);
    l.InsertAfterCursor(Rec{3});
    EXPECT_EQ(l.CursorIndex(), 2);
    EXPECT_EQ(l.LastIndex(), 3);
    l.Reset();
    l.InsertAfterCursor(Rec{0}); // before the first node: at the head
    EXPECT_EQ(l.CursorIndex(), 0);
    EXPECT_EQ(keys(l), (std::vector<int>{0, 1, 2, 3, 4}));
    // A missing record inserts nothing.
    l.InsertAtHead(nullptr);
    l.InsertAfterCursor(nullptr);
    l.InsertOrdered(nullptr);
    EXPECT_EQ(l.Count(), 5);
    expectConsistent(l);
}

TEST(RecordList, DeleteAtCursor) {
    KeyList l;
    ordered(l, {1, 2, 3, 4});
    // The first node: the cursor stands before the new first record.
    l.GoToIndex(0);
    l.DeleteAtCursor();
    EXPECT_EQ(l.CursorIndex(), -1);
    EXPECT_EQ(l.Next()->key, 2);
    // A middle node: the cursor on its predecessor.
    l.GoToIndex(1);
    l.DeleteAtCursor();
    EXPECT_EQ(l.CursorIndex(), 0);
    EXPECT_EQ(l.Current()->key, 2);
    // The last node.
    l.GoToIndex(1);
    l.DeleteAtCursor();
    EXPECT_TRUE(l.AtLast());
    EXPECT_EQ(keys(l), (std::vector<int>{2}));
    // Before the first node: nothing happens.
    l.Reset();
    l.DeleteAtCursor();
    EXPECT_EQ(l.Count(), 1);
    l.Next();
    l.DeleteAtCursor();
    EXPECT_TRUE(l.IsEmpty());
    expectConsistent(l);
}

TEST(RecordList, OwnsCopiesAndEmptiesCompletely) {
    KeyList l;
    Rec r{5, 0};
    l.InsertAtHead(r);
    r.key = 6; // the caller's record is not the stored one
    EXPECT_EQ(l.Current()->key, 5);
    l.Current()->key = 9; // the stored one is the list's
    EXPECT_EQ(keys(l), (std::vector<int>{9}));
    l.InsertAtHead(l.GoToIndex(0)); // a copy of one of its own records
    EXPECT_EQ(keys(l), (std::vector<int>{9, 9}));
    ordered(l, {3, 8, 1});
    l.Empty();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.CursorIndex(), -1);
    EXPECT_EQ(l.LastIndex(), -1);
    EXPECT_EQ(l.Next(), nullptr);
    ordered(l, {2, 1});
    EXPECT_EQ(keys(l), (std::vector<int>{1, 2}));
}

} // namespace
