// SPDX-License-Identifier: GPL-3.0-or-later
// RecordList: the ordered doubly linked list with a cursor that holds every
// list the program keeps in memory (measurements, leap seconds, the hotlist,
// help lists). It owns copies of its records. An owner derives its own list
// and supplies the ordering test used by InsertOrdered.
//
// The cursor stands on a node (CursorIndex() 0..LastIndex()) or before the
// first node (index -1). Records handed out are the list's own copies.
#pragma once

#include <cstdint>
#include <memory>

template <typename T> class RecordList {
public:
    RecordList() = default; // Create: empty, cursor before the first node
    virtual ~RecordList() { Empty(); }
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;

    // The cursor stands before the first node.
    void Reset() {
        cursor_ = nullptr;
        cursorIndex_ = -1;
    }

    // To the first node from before it, else to the successor. nullptr (index
    // -1) when the cursor moves past the end.
    T* Next() {
        cursor_ = cursor_ ? cursor_->next : first_;
        cursorIndex_ = cursor_ ? cursorIndex_ + 1 : -1;
        return cursor_ ? &cursor_->record : nullptr;
    }

    // To the predecessor; nullptr (index -1) when the cursor leaves the first node.
    T* Previous() {
        if (!cursor_) return nullptr;
        cursor_ = cursor_->prev;
        cursorIndex_ = cursor_ ? cursorIndex_ - 1 : -1;
        return cursor_ ? &cursor_->record : nullptr;
    }

    // Both are true for an empty list whose cursor is reset.
    bool AtFirst() const { return cursor_ == first_; }
    bool AtLast() const { return cursor_ == last_; }
    bool IsEmpty() const { return first_ == nullptr; }

    // Steps node by node to index i and yields its record; an index outside
    // 0..LastIndex() yields nullptr and leaves the cursor where it was.
    T* GoToIndex(int32_t i) {
        if (i < 0 || i > lastIndex_) return nullptr;
        if (i == cursorIndex_) return cursor_ ? &cursor_->record : nullptr;
        T* r = nullptr;
        while (cursorIndex_ < i) r = Next();
        while (cursorIndex_ > i) r = Previous();
        return r;
    }

    // The record at the cursor, or nullptr before the first node.
    T* Current() { return cursor_ ? &cursor_->record : nullptr; }
    const T* Current() const { return cursor_ ? &cursor_->record : nullptr; }

    void InsertAtHead(const T* record) {
        if (!record) return;
        Node* n = new Node{*record, nullptr, first_};
        if (first_) first_->prev = n;
        first_ = n;
        if (!last_) last_ = n;
        cursor_ = n;
        cursorIndex_ = 0;
        ++lastIndex_;
    }
    void InsertAtHead(const T& record) { InsertAtHead(&record); }

    // After the cursor node (at the head when the cursor is before the first node).
    void InsertAfterCursor(const T* record) {
        if (!record) return;
        if (!cursor_) {
            InsertAtHead(record);
            return;
        }
        Node* n = new Node{*record, cursor_, cursor_->next};
        if (cursor_->next)
            cursor_->next->prev = n;
        else
            last_ = n;
        cursor_->next = n;
        cursor_ = n;
        ++cursorIndex_;
        ++lastIndex_;
    }
    void InsertAfterCursor(const T& record) { InsertAfterCursor(&record); }

    // Removes the cursor's node; the cursor moves to the predecessor.
    void DeleteAtCursor() {
        if (!cursor_) return;
        Node* gone = cursor_;
        if (gone->prev)
            gone->prev->next = gone->next;
        else
            first_ = gone->next;
        if (gone->next)
            gone->next->prev = gone->prev;
        else
            last_ = gone->prev;
        cursor_ = gone->prev;
        --cursorIndex_;
        --lastIndex_;
        delete gone;
    }

    void Empty() {
        cursor_ = last_;
        cursorIndex_ = lastIndex_;
        while (cursor_) DeleteAtCursor();
        Reset();
    }

    // Inserts keeping ascending order of ComesAfter, starting the search at
    // the cursor; equal records are all kept.
    void InsertOrdered(const T* p) {
        if (!p) return;
        if (IsEmpty()) {
            InsertAtHead(p);
            return;
        }
        if (!cursor_) Next();
        const T* q = Current();
        if (ComesAfter(*p, *q)) {
            while (!AtLast() && !ComesAfter(*q, *p)) q = Next();
            if (ComesAfter(*q, *p)) q = Previous();
            InsertAfterCursor(p);
        } else {
            while (!AtFirst() && !ComesAfter(*p, *q)) q = Previous();
            if (AtFirst() && ComesAfter(*q, *p))
                InsertAtHead(p);
            else
                InsertAfterCursor(p);
        }
    }
    void InsertOrdered(const T& p) { InsertOrdered(&p); }

    int32_t CursorIndex() const { return cursorIndex_; }
    int32_t LastIndex() const { return lastIndex_; }
    int32_t Count() const { return lastIndex_ + 1; }

protected:
    // The owner's ordering test: does record a come after record b?
    virtual bool ComesAfter(const T& a, const T& b) const {
        (void)a;
        (void)b;
        return false;
    }

private:
    struct Node {
        T record;
        Node* prev;
        Node* next;
    };
    Node* first_ = nullptr;
    Node* last_ = nullptr;
    Node* cursor_ = nullptr;
    int32_t cursorIndex_ = -1;
    int32_t lastIndex_ = -1;
};
