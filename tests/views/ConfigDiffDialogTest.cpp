// The comparison dialog on its own: what it lists, what it counts, and what each
// button ends it with.
#include "views/ConfigDiffDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kvl::test {
namespace {

TConfigComparison SomeDifferences() {
    TConfigComparison c;
    c.Differences = {{"In 1 / Speed", "4800", "9600", TDiffKind::Changed},
                     {"Routing / row 3", "", "IIMWV from 1 to PC", TDiffKind::Added},
                     {"AIS MOB Alarm / row 1", "211234567", "", TDiffKind::Removed}};
    c.NotOnDevice = {{"NMEA 2000 / Priority", "", "2", TDiffKind::NotOnDevice}};
    c.Same = 140;
    return c;
}

QStringList Row(const TConfigDiffDialog& dialog, int row) {
    const auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("tblDifferences"));
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << table->item(row, column)->text();
    return texts;
}

QString LabelText(const TConfigDiffDialog& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

TEST(ConfigDiffDialog, ListsEachDifferenceThenTheSettingsTheDeviceLacksAndCountsThem) {
    TConfigDiffDialog dialog;
    dialog.ShowComparison(QStringLiteral("/tmp/boat.ini"), SomeDifferences());
    dialog.show();
    const auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("tblDifferences"));
    ASSERT_EQ(table->rowCount(), 4);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("Setting"));
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("On the device"));
    EXPECT_EQ(table->horizontalHeaderItem(2)->text(), QStringLiteral("In the file"));
    EXPECT_EQ(Row(dialog, 0), (QStringList{"In 1 / Speed", "4800", "9600"}));
    EXPECT_EQ(Row(dialog, 1), (QStringList{"Routing / row 3", "none", "IIMWV from 1 to PC"}));
    EXPECT_EQ(Row(dialog, 2), (QStringList{"AIS MOB Alarm / row 1", "211234567", "none"}));
    EXPECT_EQ(Row(dialog, 3), (QStringList{"NMEA 2000 / Priority", "not on this device", "2"}));
    EXPECT_EQ(LabelText(dialog, "lblSummary"),
              QStringLiteral("3 settings differ, 140 are the same, 1 is not on this device"));
    EXPECT_EQ(LabelText(dialog, "lblFile"), QStringLiteral("File: /tmp/boat.ini"));
    EXPECT_FALSE(dialog.findChild<QLabel*>(QStringLiteral("lblNoDifference"))->isVisible());
}

TEST(ConfigDiffDialog, SaysSoWhenNothingDiffers) {
    TConfigDiffDialog dialog;
    TConfigComparison same;
    same.Same = 152;
    dialog.ShowComparison(QStringLiteral("boat.ini"), same);
    dialog.show();
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("lblNoDifference"))->isVisible());
    EXPECT_EQ(LabelText(dialog, "lblNoDifference"),
              QStringLiteral("No setting differs: the device holds the configuration of the file."));
    EXPECT_FALSE(dialog.findChild<QTableWidget*>(QStringLiteral("tblDifferences"))->isVisible());
    EXPECT_EQ(LabelText(dialog, "lblSummary"),
              QStringLiteral("0 settings differ, 152 are the same, 0 are not on this device"));
}

TEST(ConfigDiffDialog, EachButtonEndsItWithItsOwnResult) {
    for (const auto& [button, result] : {std::pair{"btnWriteFile", int(TConfigDiffDialog::kWriteFile)},
                                         std::pair{"btnClose", int(QDialog::Rejected)}}) {
        TConfigDiffDialog dialog;
        dialog.ShowComparison(QStringLiteral("boat.ini"), SomeDifferences());
        QTimer::singleShot(0, &dialog, [&dialog, name = button] {
            QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
        });
        EXPECT_EQ(dialog.exec(), result) << button;
    }
    TConfigDiffDialog dialog;
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnWriteFile"))->text(),
              QStringLiteral("Write File to Device"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnClose"))->text(), QStringLiteral("Close"));
}

} // namespace
} // namespace kvl::test
