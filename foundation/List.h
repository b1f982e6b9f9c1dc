#pragma once
// A doubly linked list that owns heap copies of its items.
//
// The list remembers the node it reached last (the cursor), so reading it by increasing
// index, or taking item 0 over and over, costs one step per call.

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <new>

template <typename T>
class CList {
public:
    CList();
    ~CList() { Clear(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    uint32_t GetCount() const { return m_count; }
    uint32_t GetCursorIndex() const { return m_cursorIndex; }
    const T* GetCursorItem() const { return m_cursor ? m_cursor->item : nullptr; }

    // The stored item itself (callers may change it in place), or null past the end.
    T* GetAt(uint32_t index);
    // Adds a copy at the tail. Without memory for the node nothing is added; an exception
    // from copying the item reaches the caller, and nothing is added either.
    void Append(const T& item);
    void RemoveAt(uint32_t index);
    void Clear();

private:
    struct Node {
        ~Node() { delete item; }
        T* item = nullptr;
        Node* next = nullptr;
        Node* prev = nullptr;
    };

    void MoveCursorTo(uint32_t index);

    uint32_t m_count = 0;
    uint32_t m_cursorIndex = 0;
    Node* m_first = nullptr;
    Node* m_last = nullptr;
    Node* m_cursor = nullptr;
};

template <typename T>
CList<T>::CList()
{
    // Every list reseeds the runtime's generator, as code that draws random numbers after
    // building a list has always seen.
    // Kept on purpose: docs/compatibility.md, "Every list reseeds the random generator".
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

template <typename T>
T* CList<T>::GetAt(uint32_t index)
{
    if (m_count == 0 || index >= m_count)
        return nullptr;
    if (index != m_cursorIndex)
        MoveCursorTo(index);
    return m_cursor->item;
}

template <typename T>
void CList<T>::MoveCursorTo(uint32_t index)
{
    if (index == m_cursorIndex + 1) {
        m_cursor = m_cursor->next;
    } else if (index + 1 == m_cursorIndex) {
        m_cursor = m_cursor->prev;
    } else if (index == 0) {
        m_cursor = m_first;
    } else if (index == m_count - 1) {
        m_cursor = m_last;
    } else if (index > m_cursorIndex) {
        for (uint32_t step = m_cursorIndex; step < index; ++step)
            m_cursor = m_cursor->next;
    } else {
        m_cursor = m_first;
        for (uint32_t step = 0; step < index; ++step)
            m_cursor = m_cursor->next;
    }
    m_cursorIndex = index;
}

template <typename T>
void CList<T>::Append(const T& item)
{
    if (m_count == UINT32_MAX)
        return;
    Node* node = new (std::nothrow) Node;
    if (!node)
        return;
    try {
        node->item = new (std::nothrow) T(item);
    } catch (...) {
        delete node;
        throw;
    }
    if (!node->item) {
        delete node;
        return;
    }
    if (m_last) {
        m_last->next = node;
        node->prev = m_last;
    } else {
        m_first = node;
    }
    m_last = node;
    ++m_count;
    m_cursor = node;
    m_cursorIndex = m_count - 1;
}

template <typename T>
void CList<T>::RemoveAt(uint32_t index)
{
    if (m_count == 0 || index >= m_count)
        return;
    GetAt(index);
    Node* node = m_cursor;
    if (node == m_first) {
        m_first = node->next;
        m_cursor = m_first;
        if (m_first)
            m_first->prev = nullptr;
        else
            m_last = nullptr;
        m_cursorIndex = 0;
    } else if (node == m_last) {
        m_last = node->prev;
        m_last->next = nullptr;
        m_cursor = m_last;
        m_cursorIndex = m_count - 2;
    } else {
        m_cursor = node->prev;
        m_cursor->next = node->next;
        node->next->prev = m_cursor;
        --m_cursorIndex;
    }
    delete node;
    --m_count;
}

template <typename T>
void CList<T>::Clear()
{
    for (Node* node = m_first; node;) {
        Node* next = node->next;
        delete node;
        node = next;
    }
    m_count = 0;
    m_cursorIndex = 0;
    m_first = m_last = m_cursor = nullptr;
}
