// The INI reader and writer of the configuration files. Any text reads; unchanged it
// is written back byte for byte; after our sections are rewritten, they read back
// exactly as written, and a second rewrite changes nothing (comments and other
// programs' sections neither grow nor move).
#include "FuzzCheck.h"

#include "model/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace kvl;

namespace {

const std::vector<std::string> kOurs = {"Information", "Configuration", "Routing",
                                        "ModBus",      "Data Sources",  "AIS MOB"};

std::vector<TIniSection> Sections() {
    return {{"Configuration", {{"Config Version", "1"}, {"Baud In1", "2"}}},
            {"Routing", {{"R01", "GPRMC,21,00,30,0000000000000000"}, {"R02", ""}}},
            {"Data Sources", {{"R1", ""}, {"R2", "N,00000000000000AB"}, {"R3", ""}}}};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TIniFile file(text);
    KVL_FUZZ_CHECK(file.Text() == text);
    for (const std::string& name : kOurs)
        (void)file.Value(name, "R1");

    const std::vector<TIniSection> sections = Sections();
    file.ReplaceSections(kOurs, sections);
    const std::string once = file.Text();
    TIniFile reread(once);
    for (const TIniSection& section : sections)
        KVL_FUZZ_CHECK(reread.Entries(section.Name) == section.Entries);
    KVL_FUZZ_CHECK(reread.Entries("AIS MOB").empty());
    reread.ReplaceSections(kOurs, sections);
    KVL_FUZZ_CHECK(reread.Text() == once);
    return 0;
}
