// Fuzzes the high-score file reader on in-memory images of both tables.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "persist/highscore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const vorn1::HighScoreTable t : {vorn1::HighScoreTable::Standard, vorn1::HighScoreTable::Campaign}) {
        const std::vector<vorn1::HighScoreEntry> rows = vorn1::parse_high_score_image(data, size, t);
        if (rows.size() != vorn1::kHighScoreRows) __builtin_trap();
        for (size_t i = 1; i < rows.size(); ++i) {
            const bool ordered = t == vorn1::HighScoreTable::Standard ? rows[i - 1].score >= rows[i].score
                                                                      : rows[i - 1].score <= rows[i].score;
            if (!ordered) __builtin_trap();
        }
        for (const vorn1::HighScoreEntry& r : rows)
            if (r.name.size() > 17 || r.label.size() > 15) __builtin_trap();
        // What a table writes, it reads back to the same image.
        const std::vector<uint8_t> image = vorn1::high_score_image(rows, t);
        if (image.size() != vorn1::kHighScoreFileBytes) __builtin_trap();
        const std::vector<uint8_t> again =
            vorn1::high_score_image(vorn1::parse_high_score_image(image.data(), image.size(), t), t);
        if (again != image) __builtin_trap();
    }
    return 0;
}
