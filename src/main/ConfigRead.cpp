// The version answer with the device identity and capability word, and the
// configuration read: every report of the dump decoded into the model.
#include "host/Dialogs.h"
#include "main/MainForm.h"

#include "firmware/FirmwareUpdate.h"
#include "model/ConfigItems.h"
#include "model/ConfigSentences.h"
#include "n2k/N2KDevices.h"
#include "sentence/NmeaText.h"
#include "tables/Tables.h"
#include "ui_MainForm.h"

#include <QComboBox>

namespace kvl {

namespace {

constexpr int kPortUdpAll = 0;
constexpr std::uint16_t kCapsSignatureMask = 0xE000;
constexpr std::uint16_t kCapsSignature = 0xA000;
constexpr std::uint16_t kCapsInterfaceMask = 0x0007;
constexpr int kInterfaceWiFi = 3;

template <std::size_t N>
void SetItems(QComboBox* combo, const std::array<std::string_view, N>& items) {
    combo->clear();
    for (const std::string_view item : items)
        combo->addItem(QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())));
    // A new item list shows no selection until the model is shown again.
    combo->setCurrentIndex(-1);
}

} // namespace

void TMainForm::FillSelectorItems() {
    for (QComboBox* speed :
         {ui->cbBaudIn1, ui->cbBaudIn2, ui->cbBaudIn3, ui->cbBaudIn4, ui->cbBaudOut1, ui->cbBaudOut2})
        SetItems(speed, kSpeedItems);
    for (QComboBox* mode : {ui->cbModeIn2, ui->cbModeIn3, ui->cbModeIn4})
        SetItems(mode, kModeInItems);
    for (QComboBox* function : {ui->cbDevFuncHost, ui->cbDevFuncIn1, ui->cbDevFuncIn2, ui->cbDevFuncIn3,
                                ui->cbDevFuncIn4, ui->cbDevFuncConv})
        SetItems(function, kDeviceTypeItems);
    SetInput1Modes(false);
    SetPriorityItems(false);
}

void TMainForm::SetInput1Modes(bool nmea2000) {
    if (nmea2000)
        SetItems(ui->cbModeIn1, kModeIn1N2KItems);
    else
        SetItems(ui->cbModeIn1, kModeIn1Items);
}

void TMainForm::SetPriorityItems(bool nmea2000) {
    for (QComboBox* priority : {ui->cbPrioIn1, ui->cbPrioIn2, ui->cbPrioIn3, ui->cbPrioIn4}) {
        if (nmea2000)
            SetItems(priority, kPrioInN2KItems);
        else
            SetItems(priority, kPrioInItems);
    }
}

bool TMainForm::HasNmea2000() const {
    return (KVLCaps & kCapsNmea2000) != 0;
}

void TMainForm::SetViewBackground(bool grey) {
    QPalette palette = ui->NmeaView->palette();
    palette.setColor(QPalette::Base, grey ? QApplication::palette().color(QPalette::Button)
                                          : QApplication::palette().color(QPalette::Base));
    ui->NmeaView->setPalette(palette);
}

void TMainForm::ShowIdentity() {
    SetStatusPanel(0, QStringLiteral("Device: ") + QString::fromLatin1(MuxDeviceString));
    SetStatusPanel(1, QStringLiteral("Version: ") + QString::fromLatin1(MuxVersionString));
    SetStatusPanel(2, QStringLiteral("Serial: ") + QString::fromLatin1(MuxSerialString));
}

// ---- Version answer ----

void TMainForm::ProcessVER(const TSentence& sentence) {
    TimeOutTimer.stop();
    if (ui->cbPort->currentIndex() == kPortUdpAll) {
        // "UDP All" hears every multiplexer on the network: nothing to configure.
        SetViewBackground(false);
        RXState = TRXState::stNormal;
        UpdateFileActions(); // a read no longer runs
        return;
    }
    MuxDeviceString = sentence.Field(2);
    MuxSerialString = sentence.Field(3);
    MuxVersionString = sentence.Field(1);
    MuxVersion = ParseVersion(MuxVersionString);
    ShowIdentity();
    const std::string& capabilities = sentence.Field(4);
    if (capabilities.size() == 4)
        ApplyCapabilities(capabilities);
    // The product information is told apart by source tags that name the unique
    // ID, which the configuration read is about to report: the scan waits for it.
    const bool compatible = IsFirmwareCompatible(MuxVersion);
    N2K->Scanner.SetUniqueIdKnown(!compatible);
    N2K->Scanner.Clear();
    if (HasNmea2000())
        N2K->Scanner.Scan();
    if (compatible) {
        SetViewBackground(false);
        RXState = TRXState::stGetConfig;
        SendSentence(std::string(kConfigQuery));
    } else {
        SetViewBackground(true);
        RXState = TRXState::stNormal;
        UpdateFileActions(); // a read no longer runs
        // The offer asks its own question, with what the update will do.
        Firmware->StartUpdate(TFirmwareUpdate::TStart::Offer);
    }
}

void TMainForm::ApplyCapabilities(const std::string& text) {
    const auto value = ParseHex(text, 0xFFFF);
    if (!value) {
        Dialogs().ShowMessage(QStringLiteral("Unable to read Korvelan capabilities!"));
        return;
    }
    const auto caps = static_cast<std::uint16_t>(*value);
    // The last valid word stays in force until another valid one arrives.
    if ((caps & kCapsSignatureMask) != kCapsSignature) {
        Dialogs().ShowMessageBox(
            QStringLiteral("KVLConfig"),
            QStringLiteral("This version of KVLConfig does not support\rthe connected multiplexer."),
            TDialogs::TIcon::Warning);
        return;
    }
    KVLCaps = caps;
    MuxInterface = KVLCaps & kCapsInterfaceMask;
    ui->miKorvelan3Wi->menuAction()->setVisible(MuxInterface == kInterfaceWiFi &&
                                                Link->CommMode() == TCommMode::cmSerial);
    const bool nmea2000 = HasNmea2000();
    SetInput1Modes(nmea2000);
    SetPriorityItems(nmea2000);
    ui->lblN2KInput->setVisible(nmea2000);
    ui->cbPrioN2K->setVisible(nmea2000);
    ui->chbRouteN2KOut1->setVisible(nmea2000);
    ui->pcSettings->setTabVisible(ui->pcSettings->indexOf(ui->tabNMEA2000), nmea2000);
    Tables->SetCapabilities(nmea2000, MuxInterface == kInterfaceWiFi);
}

void TMainForm::OnSTNGConverterFound(int value) {
    if (value != 0 || MuxConfig.ModeIn1 != kModeInSeaTalkSTNG)
        return;
    Dialogs().ShowMessage(QStringLiteral("Raymarine SeaTalk-STNG Converter found.\rInput 1 is set from "
                                         "SeaTalk-STNG to\rSeaTalk to avoid a data-loop."));
    MuxConfig.ModeIn1 = kModeInSeaTalk;
    ui->cbModeIn1->setCurrentIndex(static_cast<int>(kModeInSeaTalk));
    SendAndWait(EncodeIN(MuxConfig), TPQZXCmd::PQZXIN);
}

// ---- Configuration reports ----

void TMainForm::ProcessCF(const TSentence& sentence) {
    DecodeCF(sentence, MuxConfig);
}
void TMainForm::ProcessSP(const TSentence& sentence) {
    DecodeSP(sentence, MuxConfig);
}
void TMainForm::ProcessID(const TSentence& sentence) {
    DecodeID(sentence, MuxConfig);
}
void TMainForm::ProcessUI(const TSentence& sentence) {
    DecodeUI(sentence, MuxConfig);
    N2K->Scanner.SetUniqueIdKnown(true);
}
void TMainForm::ProcessDR(const TSentence& sentence) {
    DecodeDR(sentence, MuxConfig);
}
void TMainForm::ProcessIN(const TSentence& sentence) {
    DecodeIN(sentence, MuxConfig);
}
void TMainForm::ProcessPR(const TSentence& sentence) {
    DecodePR(sentence, MuxConfig);
}
void TMainForm::ProcessOP(const TSentence& sentence) {
    DecodeOP(sentence, MuxConfig);
}
void TMainForm::ProcessCNV(const TSentence& sentence) {
    DecodeCNV(sentence, MuxConfig);
}
void TMainForm::ProcessNO(const TSentence& sentence) {
    DecodeNO(sentence, MuxConfig);
}
void TMainForm::ProcessNF(const TSentence& sentence) {
    DecodeNF(sentence, MuxConfig);
}
void TMainForm::ProcessDS(const TSentence& sentence) {
    DecodeDS(sentence, MuxConfig);
}
void TMainForm::ProcessMB(const TSentence& sentence) {
    DecodeMB(sentence, MuxConfig);
}

// Source addresses and device instances may be reported at any time; the
// "NMEA 2000" tab shows them at once.
void TMainForm::ProcessNA(const TSentence& sentence) {
    DecodeNA(sentence, MuxConfig);
    ShowN2KSettings();
}

void TMainForm::ProcessND(const TSentence& sentence) {
    // While a write-all runs (busy, settings disabled, no read) the model is what
    // is being written: a report of the device's old instances must not change it
    // before its ND goes out. The write-all's own ND is answered with the same values.
    if (IsBusy() && !ControlsEnabled && RXState == TRXState::stNormal)
        return;
    DecodeND(sentence, MuxConfig);
    ShowN2KSettings();
}

void TMainForm::HandleConfigReport(const TSentence& sentence) {
    switch (sentence.Command) {
    case TPQZXCmd::PQZXCF:
        ProcessCF(sentence);
        break;
    case TPQZXCmd::PQZXDR:
        ProcessDR(sentence);
        break;
    case TPQZXCmd::PQZXID:
        ProcessID(sentence);
        break;
    case TPQZXCmd::PQZXSP:
        ProcessSP(sentence);
        break;
    case TPQZXCmd::PQZXOP:
        ProcessOP(sentence);
        break;
    case TPQZXCmd::PQZXPR:
        ProcessPR(sentence);
        break;
    case TPQZXCmd::PQZXIN:
        ProcessIN(sentence);
        break;
    case TPQZXCmd::PQZXUI:
        ProcessUI(sentence);
        break;
    case TPQZXCmd::PQZXNF:
        ProcessNF(sentence);
        break;
    case TPQZXCmd::PQZXNO:
        ProcessNO(sentence);
        break;
    case TPQZXCmd::PQZXCNV:
        ProcessCNV(sentence);
        break;
    case TPQZXCmd::PQZXDS:
        ProcessDS(sentence);
        break;
    case TPQZXCmd::PQZXMB:
        // The table's entries (kind X) belong to the table code, the rest is the settings'.
        if (sentence.Field(2) == "X")
            Tables->ProcessMB(sentence);
        else
            ProcessMB(sentence);
        break;
    case TPQZXCmd::PQZXRTE:
        Tables->ProcessRTE(sentence);
        break;
    case TPQZXCmd::PQZXMOB:
        Tables->ProcessMOB(sentence);
        break;
    default:
        break;
    }
}

} // namespace kvl
