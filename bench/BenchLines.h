// Sample traffic for the benchmarks: what a multiplexer forwards on a busy boat
// (GPS, wind, depth, heading, AIS) and what it answers the tool, with and without
// TAG blocks carrying its source tags.
#pragma once

#include "sentence/NmeaText.h"

#include <string>
#include <vector>

namespace kvl::bench {

inline const std::string kUniqueId = "AB12";

// Start character, body and its checksum: the sentence as it goes on the wire.
inline std::string WithChecksum(char start, const std::string& body) {
    const std::string text = start + body;
    return text + "*" + ChecksumHex(NmeaChecksum(text, text.size()));
}

// A TAG block with the source parameter and a receive time, and its checksum.
inline std::string TagBlock(const std::string& source) {
    const std::string body = "\\s:" + kUniqueId + source + ",c:1577836800";
    return body + "*" + ChecksumHex(NmeaChecksum(body, body.size())) + "\\";
}

inline std::vector<std::string> OrdinaryLines() {
    return {
        WithChecksum('$', "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"),
        WithChecksum('$', "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
        WithChecksum('$', "IIMWV,045.0,R,12.6,N,A"),
        WithChecksum('$', "SDDBT,0017.6,f,0005.4,M,0002.9,F"),
        WithChecksum('$', "HCHDG,101.1,,,7.1,W"),
        WithChecksum('!', "AIVDM,1,1,,B,15M67FC000G?ufbE`FepT@3n00Sa,0"),
        WithChecksum('!', "AIVDM,2,1,3,A,55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp8,0"),
        WithChecksum('$', "GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00"),
    };
}

inline std::vector<std::string> ProprietaryLines() {
    return {
        WithChecksum('$', "PQZXVER,3.29.5.,Korvelan-3,0012345,A013"),
        WithChecksum('$', "PQZXSP,R,0,0,1,5,0"),
        WithChecksum('$', "PQZXID,R,GP,,II,AI,YD"),
        WithChecksum('$', "PQZXOP,R,00008221"),
        WithChecksum('$', "PQZXRTE,R,GPRMC,03,,21,0000000000000000"),
        WithChecksum('$', "PQZXMB,R,X,1,100,H,F,R,1,C,C,ENGINE1,0"),
        WithChecksum('$', "PQZXSTAT,R,12,40,3,0"),
        WithChecksum('$', "PQZXRDY"),
    };
}

// The same lines behind TAG blocks naming inputs 1..4 and NMEA 2000 devices.
inline std::vector<std::string> Tagged(const std::vector<std::string>& lines) {
    static const char* const kSources[] = {"-1", "-2", "-3", "-4", "#2A", "=17"};
    std::vector<std::string> tagged;
    for (std::size_t i = 0; i < lines.size(); ++i)
        tagged.push_back(TagBlock(kSources[i % std::size(kSources)]) + lines[i]);
    return tagged;
}

// Forwarded traffic as it arrives: mostly ordinary sentences, a third of them with
// TAG blocks, now and then an answer of the multiplexer.
inline std::vector<std::string> MixedLines() {
    std::vector<std::string> mixed = OrdinaryLines();
    for (const std::string& line : Tagged(OrdinaryLines()))
        if (mixed.size() % 3 == 0)
            mixed.push_back(line);
    const std::vector<std::string> proprietary = ProprietaryLines();
    mixed.push_back(proprietary[1]);
    mixed.push_back(proprietary[6]);
    return mixed;
}

} // namespace kvl::bench
