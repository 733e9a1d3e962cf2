// Lookup of table rows by their Key. The tables stay in the order in which
// the program shows them; an index sorted by key is built beside them once.
#pragma once

#include <algorithm>
#include <span>
#include <vector>

template <typename TRow> std::vector<const TRow*> SortedByKey(std::span<const TRow> Rows) {
    std::vector<const TRow*> Index;
    Index.reserve(Rows.size());
    for (const TRow& Row : Rows)
        Index.push_back(&Row);
    std::sort(Index.begin(), Index.end(),
              [](const TRow* A, const TRow* B) { return A->Key < B->Key; });
    return Index;
}

// The row of Key in an index made by SortedByKey, or null.
template <typename TRow> const TRow* FindByKey(const std::vector<const TRow*>& Index, int Key) {
    auto It = std::lower_bound(Index.begin(), Index.end(), Key,
                               [](const TRow* Row, int K) { return Row->Key < K; });
    return It != Index.end() && (*It)->Key == Key ? *It : nullptr;
}
