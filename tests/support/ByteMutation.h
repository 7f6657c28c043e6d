#pragma once

// Seeded damage to a file's bytes for the fuzz runs of the readers: a few
// edits, each a random byte, a cut range, a copied run put in elsewhere or
// the end cut off.

#include <cstddef>
#include <random>
#include <string>

struct SByteMutation
{
    int maxEdits;         // 1 to maxEdits edits per mutant
    size_t maxErase;      // bytes cut by one edit, 1 to maxErase
    size_t maxInsertCopy; // bytes copied in by one edit, 1 to maxInsertCopy
};

inline void MutateBytes(std::string& bytes, std::mt19937& random, const SByteMutation& limits)
{
    const int edits = 1 + static_cast<int>(random() % limits.maxEdits);
    for (int e = 0; e < edits && !bytes.empty(); ++e)
    {
        const size_t at = random() % bytes.size();
        switch (random() % 4)
        {
        case 0:
            bytes[at] = static_cast<char>(random());
            break;
        case 1:
            bytes.erase(at, 1 + random() % limits.maxErase);
            break;
        case 2:
            bytes.insert(at, bytes.substr(random() % bytes.size(), 1 + random() % limits.maxInsertCopy));
            break;
        default:
            bytes.resize(at);
            break;
        }
    }
}
