// File menu "Compare with File...": a file against the connected device, shown
// before anything is written, and "Write File to Device".
#include "TablesFixture.h"

#include "tables/ConfigFiles.h"
#include "views/ConfigDiffDialog.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

using namespace kvl;
using namespace kvl::test;

namespace {

struct TShown {
    QString Summary;
    bool NoDifference = false;
    QStringList Rows; // "setting | on the device | in the file"
};

class CompareWithFileTest : public TablesTest {
protected:
    void SetUp() override {
        TablesTest::SetUp();
        auto options = Quiet();
        options.fullTables = true;
        StartSimulator(options);
        CreateForm();
        ConnectAndRead();
    }

    // The device's own file, with the given replacements in its text.
    QString DeviceFile(const std::vector<std::pair<QByteArray, QByteArray>>& changes = {}) {
        const QString path = Dir.filePath(QStringLiteral("boat.ini"));
        Form->ConfigFileCommands().Save(path);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        for (const auto& [from, to] : changes)
            text.replace(from, to);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    }

    // Chooses the file in "Compare with File...", reads the dialog and leaves it
    // with the named button.
    TShown Compare(const QString& path, const char* button) {
        TShown shown;
        TestDialogs().FileNames.push_back(path);
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<TConfigDiffDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            shown.Summary = dialog->findChild<QLabel*>(QStringLiteral("lblSummary"))->text();
            shown.NoDifference = dialog->findChild<QLabel*>(QStringLiteral("lblNoDifference"))->isVisible();
            const auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("tblDifferences"));
            for (int row = 0; row < table->rowCount(); ++row)
                shown.Rows << table->item(row, 0)->text() + " | " + table->item(row, 1)->text() + " | " +
                                  table->item(row, 2)->text();
            QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
        });
        poll.start();
        Control<QAction>("miCompare")->trigger();
        return shown;
    }

    QTemporaryDir Dir;
};

const std::vector<std::pair<QByteArray, QByteArray>> kThreeAndARow = {
    {"Baud In2=0", "Baud In2=4"},
    {"Talker ID1=\r", "Talker ID1=XY\r"},
    {"Modbus Mode=0", "Modbus Mode=2"},
    {"R03=GPVTG,04,02,23", "R03=GPVTG,04,09,23"}};

TEST_F(CompareWithFileTest, ShowsTheDifferencesAndCloseLeavesDeviceAndModelAlone) {
    const QString path = DeviceFile(kThreeAndARow);
    const std::size_t from = Sim->ReceivedCount();
    const TShown shown = Compare(path, "btnClose");
    EXPECT_EQ(
        shown.Rows,
        (QStringList{"In 2 / Speed | 4800 | 57600", "In 1 / Talker ID |  | XY",
                     "General Options / Modbus | Off | Slave",
                     "Routing / row 3 | GPVTG from 3 to 1,2,PC, Div 2 | GPVTG from 3 to 1,2,PC, Div 9"}));
    EXPECT_TRUE(shown.Summary.startsWith(QStringLiteral("4 settings differ, ")))
        << shown.Summary.toStdString();
    EXPECT_TRUE(shown.Summary.endsWith(QStringLiteral(", 0 are not on this device")));
    EXPECT_FALSE(shown.NoDifference);
    EXPECT_EQ(ReceivedBodies(from), std::vector<std::string>{});
    EXPECT_EQ(Form->Config().BaudIn2, 0u);
    EXPECT_EQ(Form->Config().RoutingTable[2]->Divisor, 2);
}

TEST_F(CompareWithFileTest, WriteFileToDeviceLoadsAndWritesItAsLoadConfigurationDoes) {
    const QString path = DeviceFile(kThreeAndARow);
    const std::size_t from = Sim->ReceivedCount();
    Compare(path, "btnWriteFile");
    const std::vector<std::string> sent = ReceivedBodies(from);
    EXPECT_NE(std::find(sent.begin(), sent.end(), "$PQZXSP,C,0,4,0,3,0"), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), "$PQZXRTE,C,GPVTG,04,9,23,0000000000000000"), sent.end());
    EXPECT_EQ(Form->Config().BaudIn2, 4u);
    EXPECT_EQ(Form->StatusPanel(3), QStringLiteral("Config file: ") + path);
    EXPECT_EQ(Sim->Config().baud[1], 4);
}

TEST_F(CompareWithFileTest, TheDevicesOwnFileSaysNothingDiffers) {
    const TShown shown = Compare(DeviceFile(), "btnClose");
    EXPECT_TRUE(shown.NoDifference);
    EXPECT_TRUE(shown.Rows.isEmpty());
    EXPECT_TRUE(shown.Summary.startsWith(QStringLiteral("0 settings differ, ")))
        << shown.Summary.toStdString();
}

TEST_F(CompareWithFileTest, AFileThatCannotBeReadIsToldAndNothingIsShownOrSent) {
    const std::size_t from = Sim->ReceivedCount();
    TestDialogs().FileNames.push_back(Dir.filePath(QStringLiteral("missing.ini")));
    Control<QAction>("miCompare")->trigger();
    ASSERT_EQ(TestDialogs().Messages.size(), 1);
    EXPECT_TRUE(TestDialogs().Messages[0].startsWith(QStringLiteral("Unable to read ")))
        << TestDialogs().Messages[0].toStdString();
    EXPECT_EQ(ReceivedBodies(from), std::vector<std::string>{});
}

TEST_F(CompareWithFileTest, IsEnabledLikeLoadConfiguration) {
    EXPECT_TRUE(Control<QAction>("miCompare")->isEnabled());
    EXPECT_EQ(Control<QAction>("miCompare")->text(), QStringLiteral("Co&mpare with File..."));
    Click("btnConnect"); // disconnect
    EXPECT_EQ(Control<QAction>("miCompare")->isEnabled(), Control<QAction>("miLoad")->isEnabled());
    EXPECT_FALSE(Control<QAction>("miCompare")->isEnabled());
}

} // namespace
