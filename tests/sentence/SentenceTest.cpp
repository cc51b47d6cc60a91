#include "sentence/Sentence.h"
#include "sentence/NmeaError.h"
#include "sentence/NmeaText.h"

#include <gtest/gtest.h>

using namespace kvl;

namespace {

// Appends "*hh" with the correct checksum of everything after the start character.
std::string WithChecksum(const std::string& body) {
    return body + "*" + ChecksumHex(NmeaChecksum(body, body.size()));
}

// A TAG block "\<params>*hh\" with the correct checksum of params.
std::string Tag(const std::string& params) {
    const std::string framed = "\\" + params;
    return framed + "*" + ChecksumHex(NmeaChecksum(framed, framed.size())) + "\\";
}

} // namespace

TEST(Sentence, OrdinaryLineHasNoFieldsAndNoSource) {
    const TSentence s(WithChecksum("$GPRMC,123519,A,4807.038,N"), "AB12");
    EXPECT_EQ(s.TAGblock, "");
    EXPECT_EQ(s.Address, "GPRMC");
    EXPECT_EQ(s.Command, TPQZXCmd::PQZXNone);
    EXPECT_FALSE(s.HasFields);
    EXPECT_TRUE(s.Fields.empty());
    EXPECT_EQ(s.Source, TSource::SrcNone);
    EXPECT_EQ(s.Input, 0);
    EXPECT_EQ(s.SA, 255);
    EXPECT_EQ(s.Error, 0);
}

TEST(Sentence, ProprietaryFieldsKeepEmptyFieldsAndStartCharacter) {
    const TSentence rdy(WithChecksum("$PQZXRDY"), "");
    EXPECT_EQ(rdy.Address, "");
    ASSERT_EQ(rdy.Fields, std::vector<std::string>{"$PQZXRDY"});
    EXPECT_EQ(rdy.Command, TPQZXCmd::PQZXRDY);

    const TSentence cf(WithChecksum("$PQZXCF,R,,5"), "");
    EXPECT_EQ(cf.Address, "PQZXCF");
    EXPECT_EQ(cf.Fields, (std::vector<std::string>{"$PQZXCF", "R", "", "5"}));
    EXPECT_EQ(cf.Command, TPQZXCmd::PQZXCF);

    const TSentence trailing("$PQZXSP,C,1,", "");
    EXPECT_EQ(trailing.Fields, (std::vector<std::string>{"$PQZXSP", "C", "1", ""}));
}

TEST(Sentence, RecognitionTableIsExact) {
    EXPECT_EQ(TSentence(WithChecksum("!PQZXNP,1,2"), "").Command, TPQZXCmd::PQZXNPE);
    EXPECT_EQ(TSentence(WithChecksum("$PQZXNP,1,2"), "").Command, TPQZXCmd::PQZXNP);
    const TSentence unknown(WithChecksum("$PQZXXY,1"), "");
    EXPECT_EQ(unknown.Command, TPQZXCmd::PQZXNone);
    EXPECT_EQ(unknown.Fields, (std::vector<std::string>{"$PQZXXY", "1"}));
    const TSentence qjpgn(WithChecksum("$QJPGN,127250,1,2"), "");
    EXPECT_EQ(qjpgn.Command, TPQZXCmd::PQZXNone);
    EXPECT_FALSE(qjpgn.HasFields);
    EXPECT_EQ(TSentence("$pqzxrdy", "").Command, TPQZXCmd::PQZXNone);
    // Every command round-trips through its first field.
    for (int i = 1; i < static_cast<int>(TPQZXCmd::QJPGN); ++i) {
        const auto cmd = static_cast<TPQZXCmd>(i);
        EXPECT_EQ(TSentence(std::string(PQZXCmdText(cmd)) + ",R", "").Command, cmd) << PQZXCmdText(cmd);
    }
}

TEST(Sentence, ChecksumFaultsOnlySetErrorBits) {
    const std::string good = WithChecksum("$GPGLL,1");
    EXPECT_EQ(TSentence(good, "").Error, 0);
    // Lower-case hex digits pass like upper case: $PQZXRDY has checksum 4C.
    EXPECT_EQ(TSentence("$PQZXRDY*4C", "").Error, 0);
    EXPECT_EQ(TSentence("$PQZXRDY*4c", "").Error, 0);
    EXPECT_EQ(TSentence("$GPGLL,1*", "").Error, TSentence::kErrChecksum);
    EXPECT_EQ(TSentence("$GPGLL,1*G1", "").Error, TSentence::kErrChecksum);
    EXPECT_EQ(TSentence("$GPGLL,1*00", "").Error, TSentence::kErrChecksum);
    EXPECT_EQ(TSentence("$GPGLL,1", "").Error, 0);
    // Characters after the two digits are ignored.
    EXPECT_EQ(TSentence(good + "XYZ", "").Error, 0);
}

TEST(Sentence, TagBlockIsCutAndChecked) {
    const std::string tag = Tag("s:AB12-3");
    const TSentence s(tag + WithChecksum("$GPGLL,1"), "AB12");
    EXPECT_EQ(s.TAGblock, tag);
    EXPECT_EQ(s.Sentence, WithChecksum("$GPGLL,1"));
    EXPECT_EQ(s.Error, 0);
    EXPECT_EQ(s.Source, TSource::SrcN0183);
    EXPECT_EQ(s.Input, 3);

    const TSentence noStar("\\s:AB12-2\\$GPGLL,1", "AB12");
    EXPECT_EQ(noStar.Error, TSentence::kErrTagNoChecksum);
    EXPECT_EQ(noStar.Source, TSource::SrcN0183);
    EXPECT_EQ(noStar.Input, 2);

    const TSentence badTag("\\s:AB12-2*00\\$GPGLL,1", "AB12");
    EXPECT_EQ(badTag.Error, TSentence::kErrTagChecksum);

    const TSentence unclosed("\\s:AB12-2*00$GPGLL,1", "AB12");
    EXPECT_EQ(unclosed.TAGblock, "");
    EXPECT_EQ(unclosed.Sentence, "\\s:AB12-2*00$GPGLL,1");
    EXPECT_EQ(unclosed.Source, TSource::SrcNone);
}

TEST(Sentence, SourceTagNeedsTheUniqueIdAndAReadableNumber) {
    const std::string line = Tag("s:AB12-3") + "$GPGLL,1";
    EXPECT_EQ(TSentence(line, "").Source, TSource::SrcNone);
    const TSentence shortId(line, "AB1"); // meets kind character '2'
    EXPECT_EQ(shortId.Source, TSource::SrcNone);
    EXPECT_EQ(shortId.Input, 0);
    EXPECT_EQ(TSentence(Tag("s:AB12-x") + "$GPGLL,1", "AB12").Source, TSource::SrcNone);
    EXPECT_EQ(TSentence(Tag("s:AB12-") + "$GPGLL,1", "AB12").Source, TSource::SrcNone);
}

TEST(Sentence, NmeaTwoThousandSourceAddress) {
    const TSentence hex(Tag("s:AB12#1F,c:1234") + "$GPGLL,1", "AB12");
    EXPECT_EQ(hex.Source, TSource::SrcN2K);
    EXPECT_EQ(hex.SA, 31);
    const TSentence lowerHex(Tag("s:AB12#2a") + "$GPGLL,1", "AB12");
    EXPECT_EQ(lowerHex.SA, 42);
    const TSentence dec(Tag("s:AB12=42") + "$GPGLL,1", "AB12");
    EXPECT_EQ(dec.Source, TSource::SrcN2K);
    EXPECT_EQ(dec.SA, 42);
    // A number beyond one byte names no device: it is not wrapped onto address 44.
    const TSentence tooBig(Tag("s:AB12=300") + "$GPGLL,1", "AB12");
    EXPECT_EQ(tooBig.Source, TSource::SrcNone);
    EXPECT_EQ(tooBig.SA, 255);
    // No terminator after the number, or an empty number: nothing is derived.
    EXPECT_EQ(TSentence("\\s:AB12#1F\\$GPGLL,1", "AB12").Source, TSource::SrcNone);
    EXPECT_EQ(TSentence(Tag("s:AB12#") + "$GPGLL,1", "AB12").Source, TSource::SrcNone);
}

TEST(Sentence, LineOfOnlyATagBlockIsHarmless) {
    const TSentence s(Tag("s:AB12-1"), "AB12");
    EXPECT_EQ(s.Sentence, "");
    EXPECT_EQ(s.Address, "");
    EXPECT_EQ(s.Command, TPQZXCmd::PQZXNone);
    EXPECT_EQ(s.Input, 1);
    EXPECT_EQ(TSentence("", "AB12").Sentence, "");
}

TEST(SentenceFields, CheckedAccessorsRaiseTheirOwnErrorKinds) {
    const TSentence s("$PQZXOP,R,0000022a,,300,-", "");
    EXPECT_EQ(s.Field(1), "R");
    EXPECT_EQ(s.FieldHex(2), 0x22Au);
    EXPECT_EQ(s.FieldDec(4), 300u);
    EXPECT_THROW(s.Field(6), EMissingField);
    EXPECT_THROW(s.FieldDec(3), ENumberError);
    EXPECT_THROW(s.FieldDec(5), ENumberError);
    EXPECT_THROW(s.FieldDec(4, 255), ENumberError);
    EXPECT_THROW(s.FieldHex(1), ENumberError);
    EXPECT_THROW(s.FirstChar(3), EFieldSize);
    EXPECT_EQ(s.FirstChar(5), '-');
    EXPECT_THROW(TSentence("$PQZXOP,R,1FFFFFFFF", "").FieldHex(2), ENumberError);
    EXPECT_EQ(TSentence("$PQZXDS,R,1,N,00FF00FF00FF00FF", "").FieldHex64(4), 0x00FF00FF00FF00FFull);
}

TEST(SentenceFields, JoinedFieldsQuoteWhatWouldBeAmbiguous) {
    EXPECT_EQ(TSentence("$PQZXSP,R,1,2", "").JoinedFields(), "$PQZXSP,R,1,2");
    EXPECT_EQ(TSentence("$PQZXID,R,G P,a\"b,", "").JoinedFields(), "$PQZXID,R,\"G P\",\"a\"\"b\",");
    EXPECT_EQ(TSentence(std::string("$PQZXID,R,\x01", 11), "").JoinedFields(), "$PQZXID,R,\"\x01\"");
}
