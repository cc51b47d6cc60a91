#include "SentenceFrame.h"

#include "sentence/NmeaText.h"

namespace kvl::sim {

std::string FrameSentence(std::string_view body, bool corrupt) {
    std::uint8_t sum = NmeaChecksum(body, body.size());
    if (corrupt)
        sum = static_cast<std::uint8_t>(sum ^ 0x5A);
    std::string line;
    line.reserve(body.size() + 5);
    line.append(body);
    line.push_back('*');
    line.append(ChecksumHex(sum));
    line.append("\r\n");
    return line;
}

std::string TagBlock(std::string_view parameters) {
    std::string block = "\\";
    block.append(parameters);
    const std::uint8_t sum = NmeaChecksum(block, block.size());
    block.push_back('*');
    block.append(ChecksumHex(sum));
    block.push_back('\\');
    return block;
}

std::optional<std::string_view> CheckedBody(std::string_view line) {
    if (!line.empty() && line.front() == '\\') {
        const std::size_t close = line.find('\\', 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        line.remove_prefix(close + 1);
    }
    if (line.empty() || (line.front() != '$' && line.front() != '!'))
        return std::nullopt;
    const std::size_t star = line.find('*');
    if (star == std::string_view::npos || star + 3 != line.size())
        return std::nullopt;
    if (!CheckNmeaChecksum(line, star))
        return std::nullopt;
    return line.substr(0, star);
}

} // namespace kvl::sim
