#pragma once

#include <vector>

// Indices into a cleaned transfer, in no particular order (a layout's
// description of the bytes it reads).
using ByteIndices = std::vector<int>;

// Adds the count bytes from first on.
inline void addBytes(ByteIndices &indices, int first, int count = 1)
{
    for (int i = first; i < first + count; ++i)
        indices.push_back(i);
}
