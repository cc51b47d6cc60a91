// kvlconfig3 --decode: the program itself, with no display, on a traffic log
// written by the tool's own log, on standard input and on a file it cannot read.
#include "main/CommandLine.h"
#include "main/TrafficLog.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kvl;

namespace {

struct TRun {
    int ExitCode = -1;
    QList<QJsonObject> Objects;
    QString Error;
};

TRun Decode(const QString& file, const QByteArray& input = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // decoding needs no display
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KVLCONFIG3_PATH), {QStringLiteral("--decode"), file});
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    TRun run{process.exitCode(), {}, QString::fromLocal8Bit(process.readAllStandardError())};
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        run.Objects.append(document.object());
    }
    return run;
}

} // namespace

TEST(DecodeCommandTest, TheOptionTakesAFileOrStandardInput) {
    for (const QString& file : {QStringLiteral("capture.txt"), QStringLiteral("-")}) {
        const TCommandLine line =
            ParseCommandLine({QStringLiteral("kvlconfig3"), QStringLiteral("--decode"), file});
        EXPECT_EQ(line.Action, TCommandLine::TAction::Run);
        ASSERT_TRUE(line.Options.Decode.has_value());
        EXPECT_EQ(*line.Options.Decode, file);
    }
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("kvlconfig3")}).Options.Decode.has_value());
}

TEST(DecodeCommandTest, ADiagnosticTrafficLogIsExplainedLineByLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("traffic.txt"));
    {
        TTrafficLog log; // the tool's own log, with its direction tags and CR LF
        log.Open(path.toStdString(), true);
        log.WriteLine("\\g:1-2-17,s:ais_rx1,c:1710505000*50\\",
                      "!AIVDM,2,1,3,B,539>K>h29E4<@48?400EP4m0hF1A84@E80000016?0N:<4q>NCR0C@UDQh00,0*54",
                      TTrafficLog::TDirection::Received);
        log.WriteLine("\\g:2-2-17*5B\\", "!AIVDM,2,2,3,B,00000000000,2*24",
                      TTrafficLog::TDirection::Received);
        log.WriteLine({}, "$PQZXVER", TTrafficLog::TDirection::Sent);
        log.WriteLine({}, "$GPRMC,123519.00,A,5106.9792,N,00117.3189,E,6.4,084.2,150324,1.2,W,A*27",
                      TTrafficLog::TDirection::Received);
        log.Close();
    }
    const TRun run = Decode(path);
    EXPECT_EQ(run.ExitCode, 0) << run.Error.toStdString();
    ASSERT_EQ(run.Objects.size(), 4);
    EXPECT_EQ(run.Objects[0]["direction"].toString(), "rx");
    EXPECT_EQ(run.Objects[0]["tag"].toObject()["s"].toString(), "ais_rx1");
    EXPECT_FALSE(run.Objects[0].contains("ais"));
    const QJsonObject ais = run.Objects[1]["ais"].toObject();
    EXPECT_EQ(ais["type"].toInt(), 5);
    EXPECT_EQ(ais["mmsi"].toInt(), 211000123);
    EXPECT_EQ(ais["shipname"].toString(), "EXAMPLE TRADER");
    EXPECT_EQ(ais["callsign"].toString(), "DABC1");
    EXPECT_EQ(run.Objects[2]["direction"].toString(), "tx");
    EXPECT_EQ(run.Objects[2]["sentence_name"].toString(), "Version");
    EXPECT_TRUE(run.Objects[2]["checksum_ok"].isNull());
    const QJsonObject rmc = run.Objects[3];
    EXPECT_EQ(rmc["line_number"].toInt(), 4);
    EXPECT_EQ(rmc["talker"].toString(), "GP");
    EXPECT_EQ(rmc["sentence"].toString(), "RMC");
    EXPECT_TRUE(rmc["checksum_ok"].toBool());
    EXPECT_DOUBLE_EQ(rmc["fields"].toObject()["speed_over_ground"].toDouble(), 6.4);
    EXPECT_EQ(rmc["fields"].toObject()["status"].toString(), "valid");
}

TEST(DecodeCommandTest, StandardInputAndAnUnreadableFile) {
    const TRun run = Decode(QStringLiteral("-"), "$HEHDT,102.3,T*2E\n\nnot NMEA\n");
    EXPECT_EQ(run.ExitCode, 0);
    ASSERT_EQ(run.Objects.size(), 2);
    EXPECT_FALSE(run.Objects[0]["checksum_ok"].toBool());
    EXPECT_DOUBLE_EQ(run.Objects[0]["fields"].toObject()["heading"].toDouble(), 102.3);
    EXPECT_EQ(run.Objects[1]["line_number"].toInt(), 3);
    EXPECT_EQ(run.Objects[1]["error"].toString(), "not an NMEA sentence");

    const TRun missing = Decode(QStringLiteral("/nonexistent/capture.txt"));
    EXPECT_EQ(missing.ExitCode, 2);
    EXPECT_TRUE(missing.Objects.isEmpty());
    EXPECT_TRUE(missing.Error.contains("cannot read")) << missing.Error.toStdString();
}
