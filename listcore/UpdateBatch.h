#pragma once

// Holds the list's update batch open for one scope: the list repaints once
// when the outermost batch closes, also when the scope is left by an
// exception. Works with any list that offers BeginBatch() and EndBatch().
//
//     UpdateBatch batch(list);
template <typename List>
class UpdateBatch {
public:
    explicit UpdateBatch(List& list) : m_list(list) { m_list.BeginBatch(); }
    ~UpdateBatch() { m_list.EndBatch(); }

    UpdateBatch(const UpdateBatch&) = delete;
    UpdateBatch& operator=(const UpdateBatch&) = delete;

private:
    List& m_list;
};
