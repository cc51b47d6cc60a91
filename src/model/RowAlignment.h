// Lines up the rows of two tables the way a reader would: rows that are alike in
// both stay paired in order (the longest common sequence); between two such
// pairs, the rows left over on each side pair up as changed, and the rest are
// added (file only) or removed (device only).
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

namespace kvl {

struct TRowPair {
    std::optional<std::size_t> Device; // row index on the device; none for an added row
    std::optional<std::size_t> File;   // row index in the file; none for a removed row
    bool Equal = false;
};

// Tables hold at most a few dozen rows (a file may hold more): the quadratic
// table of common lengths is small.
template <typename List, typename Same>
std::vector<TRowPair> AlignRows(const List& device, const List& file, Same same) {
    const std::size_t n = device.size();
    const std::size_t m = file.size();
    // common[i][j]: length of the longest common sequence of device[i..] and file[j..].
    std::vector<std::vector<std::size_t>> common(n + 1, std::vector<std::size_t>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            common[i][j] = same(*device[i], *file[j]) ? common[i + 1][j + 1] + 1
                                                      : std::max(common[i + 1][j], common[i][j + 1]);
    std::vector<TRowPair> out;
    std::vector<std::size_t> gapDevice;
    std::vector<std::size_t> gapFile;
    auto flushGap = [&] {
        const std::size_t paired = std::min(gapDevice.size(), gapFile.size());
        for (std::size_t k = 0; k < paired; ++k)
            out.push_back({gapDevice[k], gapFile[k], false});
        for (std::size_t k = paired; k < gapDevice.size(); ++k)
            out.push_back({gapDevice[k], std::nullopt, false});
        for (std::size_t k = paired; k < gapFile.size(); ++k)
            out.push_back({std::nullopt, gapFile[k], false});
        gapDevice.clear();
        gapFile.clear();
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && same(*device[i], *file[j]) && common[i][j] == common[i + 1][j + 1] + 1) {
            flushGap();
            out.push_back({i++, j++, true});
        } else if (j == m || (i < n && common[i + 1][j] >= common[i][j + 1])) {
            gapDevice.push_back(i++);
        } else {
            gapFile.push_back(j++);
        }
    }
    flushGap();
    return out;
}

} // namespace kvl
