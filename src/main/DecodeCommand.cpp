#include "main/DecodeCommand.h"

#include "sentence/DecodedJson.h"
#include "sentence/SentenceDecoder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace kvl {

namespace {

constexpr std::size_t kFlushBytes = 1 << 16; // written in blocks, not a line at a time

} // namespace

bool DecodeStream(std::istream& in, std::ostream& out) {
    TSentenceDecoder decoder;
    std::string line;
    std::string json;
    std::size_t number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue; // blank lines say nothing
        AppendJson(decoder.Decode(line), number, json);
        if (json.size() >= kFlushBytes) {
            out << json;
            json.clear();
        }
    }
    out << json;
    out.flush();
    return !in.bad();
}

int RunDecode(const std::string& path, std::ostream& out, std::ostream& err) {
    if (path == "-") {
        if (!DecodeStream(std::cin, out)) {
            err << "kvlconfig3: --decode: standard input could not be read\n";
            return kDecodeUnreadable;
        }
        return kDecodeDone;
    }
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        errno = EISDIR;
    std::ifstream file;
    if (errno != EISDIR)
        file.open(path, std::ios::binary);
    if (!file.is_open()) {
        err << "kvlconfig3: --decode: cannot read \"" << path << "\": " << std::strerror(errno) << '\n';
        return kDecodeUnreadable;
    }
    if (!DecodeStream(file, out)) {
        err << "kvlconfig3: --decode: reading \"" << path << "\" failed\n";
        return kDecodeUnreadable;
    }
    return kDecodeDone;
}

} // namespace kvl
