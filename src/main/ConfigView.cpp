// The refresh operations: the model shown on the tabs "NMEA Inputs/Outputs",
// "Options", "Conversions" and "NMEA 2000", with the rules that show, hide,
// enable and disable their controls.
#include "main/MainForm.h"
#include "model/ConfigItems.h"
#include "model/OptionBits.h"
#include "n2k/N2KDevices.h"
#include "sentence/NmeaText.h"
#include "ui_MainForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>

namespace kvl {

namespace {

constexpr std::uint8_t kNoAddress = 255;

// Selects the model value; a value beyond the list selects nothing.
void Select(QComboBox* combo, std::uint32_t value) {
    combo->setCurrentIndex(value < static_cast<std::uint32_t>(combo->count()) ? static_cast<int>(value) : -1);
}

void ShowBit(QCheckBox* box, std::uint32_t word, unsigned bit) {
    box->setChecked(TestBit(word, bit));
}

void SelectBit(QComboBox* combo, std::uint32_t word, unsigned bit) {
    combo->setCurrentIndex(TestBit(word, bit) ? 1 : 0);
}

bool IsSeaTalkMode(std::uint32_t mode) {
    return mode == kModeInSeaTalk || mode == kModeInSeaTalkSTNG;
}

} // namespace

void TMainForm::ShowInputsOutputs() {
    TMuxConfig& c = MuxConfig;
    const bool mob = TestBit(c.Options, kOptAISMobAlarm);
    const bool modbus = c.ModbusMode != kModbusOff;
    const bool nmea2000 = HasNmea2000();

    // SeaTalk runs at 4800 baud: the speed of input 1 is fixed then (and not sent).
    if (IsSeaTalkMode(c.ModeIn1)) {
        c.BaudIn1 = 0;
        ui->cbBaudIn1->setEnabled(false);
    } else {
        ui->cbBaudIn1->setEnabled(true);
    }

    for (QWidget* input4 : {static_cast<QWidget*>(ui->cbBaudIn4), static_cast<QWidget*>(ui->cbModeIn4),
                            static_cast<QWidget*>(ui->cbPrioIn4), static_cast<QWidget*>(ui->chbRouteIn4Out1)})
        input4->setVisible(!mob);
    ui->lblAISMobEnabled->setVisible(mob);
    ui->edtTalkID1->setVisible(c.ModeIn1 != kModeInPlainText);
    ui->edtTalkID2->setVisible(c.ModeIn2 != kModeInPlainText);
    ui->edtTalkID3->setVisible(c.ModeIn3 != kModeInPlainText);
    ui->edtTalkID4->setVisible(!mob && c.ModeIn4 != kModeInPlainText);
    for (QWidget* output2 :
         {static_cast<QWidget*>(ui->chbRouteIn1Out2), static_cast<QWidget*>(ui->chbRouteIn2Out2),
          static_cast<QWidget*>(ui->chbRouteIn3Out2), static_cast<QWidget*>(ui->chbRouteConvOut2),
          static_cast<QWidget*>(ui->cbModeOut2), static_cast<QWidget*>(ui->chbNmeaV15),
          static_cast<QWidget*>(ui->chbNoDiv)})
        output2->setVisible(!modbus);
    ui->chbRouteIn4Out2->setVisible(!modbus && !mob);
    ui->chbRouteN2KOut2->setVisible(nmea2000 && !modbus);
    ui->lblModbus->setVisible(modbus);

    Select(ui->cbBaudIn1, c.BaudIn1);
    Select(ui->cbBaudIn2, c.BaudIn2);
    Select(ui->cbBaudIn3, c.BaudIn3);
    Select(ui->cbBaudIn4, c.BaudIn4Out1);
    Select(ui->cbBaudOut1, c.BaudIn4Out1);
    Select(ui->cbBaudOut2, c.BaudOut2);
    ui->edtTalkID1->setText(QString::fromLatin1(c.TalkID1));
    ui->edtTalkID2->setText(QString::fromLatin1(c.TalkID2));
    ui->edtTalkID3->setText(QString::fromLatin1(c.TalkID3));
    ui->edtTalkID4->setText(QString::fromLatin1(c.TalkID4));
    ui->edtTalkIDConv->setText(QString::fromLatin1(c.TalkIDConv));
    Select(ui->cbModeIn1, c.ModeIn1);
    Select(ui->cbModeIn2, c.ModeIn2);
    Select(ui->cbModeIn3, c.ModeIn3);
    Select(ui->cbModeIn4, c.ModeIn4);
    Select(ui->cbPrioIn1, c.PrioIn1);
    Select(ui->cbPrioIn2, c.PrioIn2);
    Select(ui->cbPrioIn3, c.PrioIn3);
    Select(ui->cbPrioIn4, c.PrioIn4);
    Select(ui->cbPrioN2K, c.PrioN2K);
    Select(ui->cbPrioTimeout, c.PrioTimeout);

    const struct {
        QCheckBox* Out1;
        QCheckBox* Out2;
        unsigned Bit;
    } routes[] = {{ui->chbRouteIn1Out1, ui->chbRouteIn1Out2, kDefRouteIn1},
                  {ui->chbRouteIn2Out1, ui->chbRouteIn2Out2, kDefRouteIn2},
                  {ui->chbRouteIn3Out1, ui->chbRouteIn3Out2, kDefRouteIn3},
                  {ui->chbRouteIn4Out1, ui->chbRouteIn4Out2, kDefRouteIn4},
                  {ui->chbRouteConvOut1, ui->chbRouteConvOut2, kDefRouteConv},
                  {ui->chbRouteN2KOut1, ui->chbRouteN2KOut2, kDefRouteN2K}};
    for (const auto& route : routes) {
        ShowBit(route.Out1, c.DefRouteOut1, route.Bit);
        ShowBit(route.Out2, c.DefRouteOut2, route.Bit);
    }
    Select(ui->cbModeOut1, c.ModeOut1);
    Select(ui->cbModeOut2, c.ModeOut2);
    ShowBit(ui->chbNmeaV15, c.Options, kOptNmeaV15);
    ShowBit(ui->chbNoDiv, c.Options, kOptNoDiv);
    ShowBit(ui->chbPrioGPSStatus, c.Options, kOptPrioGPSStatus);
}

void TMainForm::ShowOptions() {
    const TMuxConfig& c = MuxConfig;
    ShowBit(ui->chbOptAISMobAlarm, c.Options, kOptAISMobAlarm);
    ShowBit(ui->chbOptAIStoGNSS, c.Options, kOptAIStoGNSS);
    ShowBit(ui->chbOptRawST, c.Options, kOptRawST);
    ShowBit(ui->chbOptStDepthM, c.Options, kOptStDepthM);
    ShowBit(ui->chbOptNoPinning, c.Options, kOptNoPinning);
    ShowBit(ui->chbOptTAGBlocks, c.Options, kOptTagBlocks);
    ShowBit(ui->chbIntVariation, c.Options, kOptIntVariation);
    ShowBit(ui->chbHiSpeed, c.Options, kOptHiSpeed);

    Select(ui->cbModbusMode, c.ModbusMode);
    const bool slave = c.ModbusMode == kModbusSlave;
    ui->lblMbSlaveAddr->setVisible(slave);
    ui->edtMbSlaveAddr->setVisible(slave);
    ui->edtMbSlaveAddr->setText(QString::number(c.ModbusSlvAddr));
    ui->edtUniqueID->setText(QString::fromLatin1(c.UID));

    const bool nmea2000 = HasNmea2000();
    ui->gbNmeaGen->setTitle(nmea2000 ? QStringLiteral("NMEA 0183 from NMEA 2000 and SeaTalk")
                                     : QStringLiteral("NMEA 0183 from SeaTalk"));
    ui->chbTxZDA->setText(nmea2000 ? QStringLiteral("ZDA/PGN 126992") : QStringLiteral("ZDA"));
    for (QWidget* n2kOnly : {ui->chbTxZTG, ui->chbGNSS10Hz, ui->chbSpeed10Hz})
        n2kOnly->setVisible(nmea2000);
    // Without NMEA 2000 these sentences come from SeaTalk alone, which only input 1 speaks.
    if (!nmea2000)
        EnableGroup(ui->gbNmeaGen, c.ModeIn1 >= kModeInSeaTalk);

    for (const auto& [box, bit] : NmeaGenBoxes())
        ShowBit(box, c.N2kOptions, bit);
    SelectBit(ui->cbAttitude, c.N2kOptions, kN2kAttitudePFEC);
    SelectBit(ui->cbDepth, c.N2kOptions, kN2kDepthDBT);
    SelectBit(ui->cbTrueHeading, c.N2kOptions, kN2kTrueHeadingTHS);
}

void TMainForm::ShowConversions() {
    const TMuxConfig& c = MuxConfig;
    for (const auto& [box, bit] : ConversionBoxes())
        ShowBit(box, c.Conversions, bit);

    ShowBit(ui->chbOptAutoReverse, c.Options, kOptAutoReverse);
    ui->chbOptAutoReverse->setEnabled(ui->chbCnvRevHdng->isChecked());
    const bool nmea2000 = HasNmea2000();
    ui->chbCnvTLLtoPGN130074->setVisible(nmea2000);
    if (nmea2000) {
        ShowBit(ui->chbCnvTLLtoPGN130074, c.N2kOptions, kN2kCnvTLLtoPGN130074);
        ui->chbCnvTLLtoPGN130074->setEnabled(ui->chbCnvTLLtoWPL->isChecked());
    }
    SelectBit(ui->cbTrueWind, c.Options, kOptTrueWindSOG);
    ui->cbTrueWind->setEnabled(ui->chbCnvReltoTheorWind->isChecked());
    ShowDataSources();
}

void TMainForm::ShowDataSources() {
    QComboBox* const selectors[] = {ui->cbPrimHdgSrc, ui->cbRotHdgSrc, ui->cbRotWindSrc};
    QLabel* const labels[] = {ui->lblN2kPrimHdgSrc, ui->lblN2kRotHdgSrc, ui->lblN2kRotWindSrc};
    for (QLabel* label : labels)
        label->setVisible(false);
    for (unsigned n = 0; n < 3; ++n) {
        const char type = MuxConfig.DataSrcTable[n].Input;
        if (type >= '1' && type <= '4') {
            selectors[n]->setCurrentIndex(type - '0');
        } else if (type == 'N') {
            selectors[n]->setCurrentIndex(5);
            labels[n]->setVisible(true);
            ShowDataSourceLabel(n);
        } else {
            selectors[n]->setCurrentIndex(0);
        }
    }
}

void TMainForm::ShowDataSourceLabel(unsigned source) {
    QLabel* const labels[] = {ui->lblN2kPrimHdgSrc, ui->lblN2kRotHdgSrc, ui->lblN2kRotWindSrc};
    QLabel* label = labels[source];
    label->setCursor(Qt::PointingHandCursor);
    if (MuxConfig.DataSrcTable[source].Name.N == 0) {
        label->setText(QStringLiteral("<Click>"));
        label->setToolTip(QStringLiteral("???"));
        return;
    }
    const TDeviceInfo* device = N2K->Scanner.GetDeviceInfo(MuxConfig.DataSrcTable[source].Name);
    const QString text = device ? QString::fromLatin1(device->ModelID) : QStringLiteral("???");
    label->setText(text);
    // A tool tip takes markup for markup: the device's text is escaped into it.
    label->setToolTip(Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal));
}

void TMainForm::ShowN2KSettings() {
    const TMuxConfig& c = MuxConfig;
    Select(ui->cbDevFuncHost, c.DevFuncHost);
    Select(ui->cbDevFuncIn1, c.DevFuncIn1);
    Select(ui->cbDevFuncIn2, c.DevFuncIn2);
    Select(ui->cbDevFuncIn3, c.DevFuncIn3);
    Select(ui->cbDevFuncIn4, c.DevFuncIn4);
    Select(ui->cbDevFuncConv, c.DevFuncConv);
    const struct {
        QLineEdit* SA;
        std::uint32_t Address;
        QLineEdit* DI;
        std::uint32_t Instance;
    } rows[] = {{ui->edtSAHost, c.SAHost, ui->edtDIHost, c.DIHost},
                {ui->edtSAIn1, c.SAIn1, ui->edtDIIn1, c.DIIn1},
                {ui->edtSAIn2, c.SAIn2, ui->edtDIIn2, c.DIIn2},
                {ui->edtSAIn3, c.SAIn3, ui->edtDIIn3, c.DIIn3},
                {ui->edtSAIn4, c.SAIn4, ui->edtDIIn4, c.DIIn4},
                {ui->edtSAConv, c.SAConv, ui->edtDIConv, c.DIConv}};
    for (const auto& row : rows) {
        row.SA->setText(row.Address == kNoAddress ? QStringLiteral("n/a") : QString::number(row.Address));
        QPalette palette = row.SA->palette();
        palette.setColor(QPalette::Base, QApplication::palette().color(QPalette::Button));
        row.SA->setPalette(palette);
        row.DI->setText(QString::number(row.Instance));
    }
    ShowBit(ui->chbConvUnknownPGNs, c.N2kOptions, kN2kConvUnknownPGNs);
    ShowBit(ui->chbConvAllPGNs, c.N2kOptions, kN2kConvAllPGNs);
}

} // namespace kvl
