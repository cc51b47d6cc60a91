// Build step: writes one synthetic firmware container for the program's
// resources. Usage: kvl_make_firmware avr|arm OUTPUT
#include "model/FileAccess.h"
#include "firmware/SyntheticFirmware.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    if (argc != 3 || (std::string_view(argv[1]) != "avr" && std::string_view(argv[1]) != "arm")) {
        std::fprintf(stderr, "usage: %s avr|arm OUTPUT\n", argv[0]);
        return 2;
    }
    const auto family =
        std::string_view(argv[1]) == "arm" ? kvl::TSyntheticFamily::Arm : kvl::TSyntheticFamily::Avr;
    try {
        const auto bytes = kvl::MakeSyntheticContainer(family);
        kvl::WriteFileAtomically(argv[2],
                                 std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
