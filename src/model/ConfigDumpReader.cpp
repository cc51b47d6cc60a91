#include "model/ConfigDumpReader.h"

#include "model/ConfigSentences.h"
#include "model/MuxVersion.h"
#include "sentence/NmeaError.h"
#include "sentence/NmeaText.h"

namespace kvl {

namespace {

constexpr std::uint16_t kCapsSignatureMask = 0xE000;
constexpr std::uint16_t kCapsSignature = 0xA000;

} // namespace

std::string TConfigDumpReader::Take(const std::string& line) {
    if (Finished())
        return {};
    const TSentence sentence(line, Config.UID);
    try {
        if (Current == TState::AwaitVersion && sentence.Command == TPQZXCmd::PQZXVER)
            return TakeVersion(sentence);
        if (Current == TState::AwaitDump)
            TakeReport(sentence);
    } catch (const ENmeaError&) {
        Fail("Unreadable sentence: " + sentence.Sentence);
    } catch (const ENumberError&) {
        Fail("Number error in sentence: " + sentence.JoinedFields());
    } catch (const EFieldSize&) {
        Fail("field size error in sentence: " + sentence.JoinedFields());
    } catch (const EMissingField&) {
        Fail("Missing field in sentence: " + sentence.JoinedFields());
    }
    return {};
}

// Without a capability word that the tool understands it cannot tell which
// settings the device has, and the window would not show them either.
std::string TConfigDumpReader::TakeVersion(const TSentence& sentence) {
    DeviceName = sentence.Field(2);
    const std::string& capabilities = sentence.Field(4);
    const auto caps = capabilities.size() == 4 ? ParseHex(capabilities, 0xFFFF) : std::nullopt;
    if (!caps) {
        Fail("Unable to read Korvelan capabilities!");
        return {};
    }
    if ((*caps & kCapsSignatureMask) != kCapsSignature) {
        Fail("This version of KVLConfig does not support the connected multiplexer.");
        return {};
    }
    Caps = static_cast<std::uint16_t>(*caps);
    if (!IsFirmwareCompatible(ParseVersion(sentence.Field(1)))) {
        Fail("The firmware of the multiplexer is too old: " + sentence.Field(1));
        return {};
    }
    Current = TState::AwaitDump;
    return std::string(kConfigQuery);
}

void TConfigDumpReader::TakeReport(const TSentence& sentence) {
    switch (sentence.Command) {
    case TPQZXCmd::PQZXRDY:
        Current = TState::Done;
        break;
    case TPQZXCmd::PQZXCF:
        DecodeCF(sentence, Config);
        break;
    case TPQZXCmd::PQZXSP:
        DecodeSP(sentence, Config);
        break;
    case TPQZXCmd::PQZXID:
        DecodeID(sentence, Config);
        break;
    case TPQZXCmd::PQZXUI:
        DecodeUI(sentence, Config);
        break;
    case TPQZXCmd::PQZXDR:
        DecodeDR(sentence, Config);
        break;
    case TPQZXCmd::PQZXIN:
        DecodeIN(sentence, Config);
        break;
    case TPQZXCmd::PQZXPR:
        DecodePR(sentence, Config);
        break;
    case TPQZXCmd::PQZXOP:
        DecodeOP(sentence, Config);
        break;
    case TPQZXCmd::PQZXCNV:
        DecodeCNV(sentence, Config);
        break;
    case TPQZXCmd::PQZXNO:
        DecodeNO(sentence, Config);
        break;
    case TPQZXCmd::PQZXNF:
        DecodeNF(sentence, Config);
        break;
    case TPQZXCmd::PQZXNA:
        DecodeNA(sentence, Config);
        break;
    case TPQZXCmd::PQZXND:
        DecodeND(sentence, Config);
        break;
    case TPQZXCmd::PQZXDS:
        DecodeDS(sentence, Config);
        break;
    case TPQZXCmd::PQZXMB:
        if (sentence.Field(2) == "X")
            DecodeMBEntry(sentence, Config);
        else
            DecodeMB(sentence, Config);
        break;
    case TPQZXCmd::PQZXRTE:
        DecodeRTE(sentence, Config);
        break;
    case TPQZXCmd::PQZXMOB:
        DecodeMOB(sentence, Config);
        break;
    default:
        break;
    }
}

void TConfigDumpReader::Fail(std::string message) {
    Failure = std::move(message);
    Current = TState::Failed;
}

} // namespace kvl
