// TSentence built from any line with any unique ID. The first input byte chooses the
// length of the unique ID (0..12 characters, as the configuration holds it), the
// next bytes are the ID and the rest is the line.
#include "FuzzCheck.h"

#include "sentence/NmeaError.h"
#include "sentence/NmeaText.h"
#include "sentence/Sentence.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kvl;

namespace {

constexpr std::size_t kMaxUniqueId = 12;

std::string Joined(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += ',';
        text += fields[i];
    }
    return text;
}

void CheckTagBlock(const TSentence& s, std::string_view line) {
    KVL_FUZZ_CHECK(s.TAGblock + s.Sentence == line);
    if (s.TAGblock.empty()) {
        KVL_FUZZ_CHECK((s.Error & (TSentence::kErrTagNoChecksum | TSentence::kErrTagChecksum)) == 0);
        return;
    }
    // The TAG block runs from the opening backslash to the very next one.
    KVL_FUZZ_CHECK(s.TAGblock.size() >= 2 && s.TAGblock.front() == '\\' && s.TAGblock.back() == '\\');
    KVL_FUZZ_CHECK(s.TAGblock.find('\\', 1) == s.TAGblock.size() - 1);
    const bool hasStar = s.TAGblock.find('*') != std::string::npos;
    KVL_FUZZ_CHECK(((s.Error & TSentence::kErrTagNoChecksum) != 0) == !hasStar);
    if (!hasStar)
        KVL_FUZZ_CHECK((s.Error & TSentence::kErrTagChecksum) == 0);
}

void CheckSource(const TSentence& s, std::string_view uniqueId) {
    switch (s.Source) {
    case TSource::SrcNone:
        KVL_FUZZ_CHECK(s.Input == 0 && s.SA == TSentence::kNoSourceAddress);
        return;
    case TSource::SrcN0183:
        KVL_FUZZ_CHECK(s.Input <= 9 && s.SA == TSentence::kNoSourceAddress);
        KVL_FUZZ_CHECK(s.TAGblock.find("s:" + std::string(uniqueId) + "-") != std::string::npos);
        break;
    case TSource::SrcN2K:
        KVL_FUZZ_CHECK(s.Input == 0);
        KVL_FUZZ_CHECK(s.TAGblock.find("s:" + std::string(uniqueId)) != std::string::npos);
        break;
    default:
        KVL_FUZZ_CHECK(false);
    }
    KVL_FUZZ_CHECK(!uniqueId.empty());
}

void CheckAddressAndFields(const TSentence& s) {
    KVL_FUZZ_CHECK(s.Address.find(',') == std::string::npos);
    if (!s.Address.empty())
        KVL_FUZZ_CHECK(s.Sentence.compare(1, s.Address.size() + 1, s.Address + ",") == 0);
    if ((s.Error & TSentence::kErrChecksum) != 0)
        KVL_FUZZ_CHECK(s.Sentence.find('*') != std::string::npos);

    const bool proprietary = s.Sentence.size() >= 5 && s.Sentence.compare(1, 4, "PQZX") == 0;
    KVL_FUZZ_CHECK(s.HasFields == proprietary);
    if (!proprietary) {
        KVL_FUZZ_CHECK(s.Fields.empty() && s.Command == TPQZXCmd::PQZXNone);
        return;
    }
    // The fields, joined again, give the sentence up to its checksum star (looked for
    // after "PQZX" only): nothing lost.
    KVL_FUZZ_CHECK(!s.Fields.empty());
    KVL_FUZZ_CHECK(Joined(s.Fields) == s.Sentence.substr(0, s.Sentence.find('*', 5)));
    for (auto cmd = static_cast<int>(TPQZXCmd::PQZXRDY); cmd <= static_cast<int>(TPQZXCmd::QJPGN); ++cmd) {
        const bool same = s.Fields[0] == PQZXCmdText(static_cast<TPQZXCmd>(cmd));
        KVL_FUZZ_CHECK(same == (s.Command == static_cast<TPQZXCmd>(cmd)));
    }
    KVL_FUZZ_CHECK(s.Command != TPQZXCmd::QJPGN);
}

// Whether reading throws exactly the exception given; anything else escapes.
template <typename Exception, typename Read>
bool Throws(Read&& read) {
    try {
        read();
    } catch (const Exception&) {
        return true;
    }
    return false;
}

// The checked accessors the handlers use: the values the strict readers give, and
// only their own exceptions otherwise. Throwing is slow under the sanitizers, so a
// few fields are checked for throwing and the rest against the readers alone.
void CheckAccessors(const TSentence& s, std::uint32_t max) {
    constexpr std::size_t kThrowChecks = 3;
    for (std::size_t i = 0; i < s.FieldCount(); ++i) {
        const std::string& field = s.Field(i);
        KVL_FUZZ_CHECK(&field == &s.Fields[i] && s.HasField(i));
        const bool checkThrow = i < kThrowChecks;
        if (const auto dec = ParseDecimal(field, max))
            KVL_FUZZ_CHECK(s.FieldDec(i, max) == *dec);
        else if (checkThrow)
            KVL_FUZZ_CHECK(Throws<ENumberError>([&] { (void)s.FieldDec(i, max); }));
        if (const auto hex = ParseHex(field, max))
            KVL_FUZZ_CHECK(s.FieldHex(i, max) == *hex);
        else if (checkThrow)
            KVL_FUZZ_CHECK(Throws<ENumberError>([&] { (void)s.FieldHex(i, max); }));
        if (const auto hex64 = ParseHex(field))
            KVL_FUZZ_CHECK(s.FieldHex64(i) == *hex64);
        else if (checkThrow)
            KVL_FUZZ_CHECK(Throws<ENumberError>([&] { (void)s.FieldHex64(i); }));
        if (!field.empty())
            KVL_FUZZ_CHECK(s.FirstChar(i) == field[0]);
        else if (checkThrow)
            KVL_FUZZ_CHECK(Throws<EFieldSize>([&] { (void)s.FirstChar(i); }));
    }
    KVL_FUZZ_CHECK(!s.HasField(s.FieldCount()));
    KVL_FUZZ_CHECK(Throws<EMissingField>([&] { (void)s.Field(s.FieldCount()); }));
    const std::string joined = s.JoinedFields();
    KVL_FUZZ_CHECK(joined.size() >= Joined(s.Fields).size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t idLength = std::min<std::size_t>(data[0] % (kMaxUniqueId + 1), size - 1);
    const std::string_view uniqueId(reinterpret_cast<const char*>(data + 1), idLength);
    const std::string_view line(reinterpret_cast<const char*>(data + 1 + idLength), size - 1 - idLength);

    const TSentence s{std::string(line), uniqueId};

    KVL_FUZZ_CHECK((s.Error & ~(TSentence::kErrTagNoChecksum | TSentence::kErrChecksum |
                                TSentence::kErrTagChecksum)) == 0);
    CheckTagBlock(s, line);
    CheckSource(s, uniqueId);
    CheckAddressAndFields(s);
    CheckAccessors(s, data[0] < 0x80 ? data[0] : UINT32_MAX);
    return 0;
}
