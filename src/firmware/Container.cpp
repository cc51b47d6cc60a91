#include "firmware/Container.h"

#include <algorithm>

namespace kvl {

namespace {

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(Get16(p)) | static_cast<std::uint32_t>(Get16(p + 2)) << 16;
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

} // namespace

bool HasKorvelanSignature(const THeader& header) {
    return header.Signature == std::array<std::uint8_t, 4>{'K', 'V', 'L', 0};
}

THeader DecodeHeader(const std::uint8_t* bytes) {
    THeader header;
    std::copy(bytes, bytes + 4, header.Signature.begin());
    header.Version = bytes[4];
    header.VerMaj = bytes[5];
    header.VerMin = bytes[6];
    header.VerPatch = bytes[7];
    return header;
}

THeaderV1 DecodeHeaderV1(const std::uint8_t* bytes) {
    THeaderV1 header;
    header.HardwareID = Get32(bytes);
    header.ImageCRC = Get32(bytes + 4);
    header.EncImageCRC = Get32(bytes + 8);
    std::copy(bytes + 12, bytes + 28, header.IV.begin());
    return header;
}

THeaderV2 DecodeHeaderV2(const std::uint8_t* bytes) {
    THeaderV2 header;
    header.HardwareID = Get16(bytes);
    header.HardwareIDMask = Get16(bytes + 2);
    header.PageSize = Get16(bytes + 4);
    header.PageCount = Get16(bytes + 6);
    header.ImageCRC = Get32(bytes + 8);
    header.EncImageCRC = Get32(bytes + 12);
    std::copy(bytes + 16, bytes + 32, header.IV.begin());
    return header;
}

void AppendHeader(std::vector<std::uint8_t>& out, std::uint8_t format, std::uint8_t major, std::uint8_t minor,
                  std::uint8_t patch) {
    out.insert(out.end(), {'K', 'V', 'L', 0, format, major, minor, patch});
}

void AppendHeaderV1(std::vector<std::uint8_t>& out, const THeaderV1& header) {
    Put32(out, header.HardwareID);
    Put32(out, header.ImageCRC);
    Put32(out, header.EncImageCRC);
    out.insert(out.end(), header.IV.begin(), header.IV.end());
}

void AppendHeaderV2(std::vector<std::uint8_t>& out, const THeaderV2& header) {
    Put16(out, header.HardwareID);
    Put16(out, header.HardwareIDMask);
    Put16(out, header.PageSize);
    Put16(out, header.PageCount);
    Put32(out, header.ImageCRC);
    Put32(out, header.EncImageCRC);
    out.insert(out.end(), header.IV.begin(), header.IV.end());
}

} // namespace kvl
