// Build step: writes one firmware container for the program's resources.
//   kvl_make_firmware avr|arm OUTPUT               the synthetic test container
//   kvl_make_firmware check avr|arm INPUT OUTPUT   the maker's container, copied
//                                                   only when it passes every check
//                                                   and holds an image for its family
#include "firmware/Firmware.h"
#include "firmware/SyntheticFirmware.h"
#include "model/FileAccess.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

bool IsFamily(std::string_view text) {
    return text == "avr" || text == "arm";
}

void Write(const char* path, const std::vector<std::uint8_t>& bytes) {
    kvl::WriteFileAtomically(path,
                             std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::uint8_t> CheckedContainer(std::string_view family, const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(std::string("cannot read ") + path);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    kvl::TFirmware firmware(bytes);
    firmware.SelectImage(family == "arm" ? kvl::kFamilyArm : kvl::kFamilyAvr);
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    const bool check = argc == 5 && std::string_view(argv[1]) == "check" && IsFamily(argv[2]);
    if (!check && (argc != 3 || !IsFamily(argv[1]))) {
        std::fprintf(stderr, "usage: %s avr|arm OUTPUT\n       %s check avr|arm INPUT OUTPUT\n", argv[0],
                     argv[0]);
        return 2;
    }
    try {
        if (check) {
            Write(argv[4], CheckedContainer(argv[2], argv[3]));
        } else {
            const auto family =
                std::string_view(argv[1]) == "arm" ? kvl::TSyntheticFamily::Arm : kvl::TSyntheticFamily::Avr;
            Write(argv[2], kvl::MakeSyntheticContainer(family));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", check ? argv[3] : argv[2], e.what());
        return 1;
    }
    return 0;
}
