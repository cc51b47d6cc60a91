// Editing the settings: each change of a control updates the model and sends the
// one complete command sentence that carries it; the write of a whole model; the
// factory reset.
#include "host/Dialogs.h"
#include "host/Guarded.h"
#include "host/MainErrors.h"
#include "host/WaitCursor.h"
#include "main/MainForm.h"
#include "model/ConfigError.h"
#include "model/ConfigItems.h"
#include "model/ConfigSentences.h"
#include "model/OptionBits.h"
#include "model/TableError.h"
#include "model/TableStore.h"
#include "sentence/NmeaText.h"
#include "tables/Tables.h"
#include "ui_MainForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <chrono>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace kvl {

namespace {

const char* const kBitProperty = "bit";
const char* const kSourceProperty = "source";

// A selector without a selection contributes the model's current value.
std::uint32_t IndexOr(const QComboBox* combo, std::uint32_t current) {
    const int index = combo->currentIndex();
    return index < 0 ? current : static_cast<std::uint32_t>(index);
}

void SetBase(QLineEdit* edit, const QColor& colour) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

QColor WindowColour() {
    return QApplication::palette().color(QPalette::Base);
}
QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Button);
}

// The number in a numeric field, or the conversion error every such field gives.
std::uint32_t FieldNumber(const QLineEdit* edit) {
    const std::string text = edit->text().trimmed().toLatin1().toStdString();
    const auto value = ParseDecimal(text, UINT32_MAX);
    if (!value)
        throw std::runtime_error("'" + text + "' is not a valid integer value");
    return static_cast<std::uint32_t>(*value);
}

unsigned BitOf(const QObject* control) {
    return control->property(kBitProperty).toUInt();
}

} // namespace

// ---- Wiring ----

TMainForm::TBitBoxes TMainForm::OptionBoxes() const {
    return {{ui->chbNmeaV15, kOptNmeaV15},
            {ui->chbNoDiv, kOptNoDiv},
            {ui->chbPrioGPSStatus, kOptPrioGPSStatus},
            {ui->chbOptNoPinning, kOptNoPinning},
            {ui->chbOptTAGBlocks, kOptTagBlocks},
            {ui->chbOptRawST, kOptRawST},
            {ui->chbOptAIStoGNSS, kOptAIStoGNSS},
            {ui->chbOptStDepthM, kOptStDepthM},
            {ui->chbOptAISMobAlarm, kOptAISMobAlarm},
            {ui->chbIntVariation, kOptIntVariation},
            {ui->chbHiSpeed, kOptHiSpeed},
            {ui->chbOptAutoReverse, kOptAutoReverse},
            {ui->chbOptModbusError, kOptModbusError}};
}

TMainForm::TBitBoxes TMainForm::ConversionBoxes() const {
    return {{ui->chbCnvHDGConv, kCnvHDGConv},
            {ui->chbCnvRevHdng, kCnvRevHdng},
            {ui->chbCnvCOGtoHDT, kCnvCOGtoHDT},
            {ui->chbCnvVWRtoMWV, kCnvVWRtoMWV},
            {ui->chbCnvReltoTheorWind, kCnvReltoTheorWind},
            {ui->chbCnvWindDir, kCnvWindDir},
            {ui->chbCnvRevWind, kCnvRevWind},
            {ui->chbCnvVTGConv, kCnvVTGConv},
            {ui->chbCnvVHWConv, kCnvVHWConv},
            {ui->chbCnvRevSpeed, kCnvRevSpeed},
            {ui->chbCnvHDGInVHW, kCnvHDGInVHW},
            {ui->chbCnvHDTtoTHS, kCnvHDTtoTHS},
            {ui->chbCnvTLLtoWPL, kCnvTLLtoWPL}};
}

// The check boxes of the group "NMEA 0183 from..." and their NMEA 2000 option bits.
TMainForm::TBitBoxes TMainForm::NmeaGenBoxes() const {
    return {{ui->chbTxRMC, kN2kTxRMC},         {ui->chbTxGGA, kN2kTxGGA},       {ui->chbTxGLL, kN2kTxGLL},
            {ui->chbTxVTG, kN2kTxVTG},         {ui->chbTxGSx, kN2kTxGSx},       {ui->chbTxRMB, kN2kTxRMB},
            {ui->chbTxAPB, kN2kTxAPB},         {ui->chbTxXTE, kN2kTxXTE},       {ui->chbTxBWX, kN2kTxBWX},
            {ui->chbTxZDA, kN2kTxZDA},         {ui->chbGNSS10Hz, kN2kGNSS10Hz}, {ui->chbTxZTG, kN2kTxZTG},
            {ui->chbSpeed10Hz, kN2kSpeed10Hz}, {ui->chbTxMDA, kN2kTxMDA}};
}

void TMainForm::AssignOptionBits() {
    const TBitBoxes options = OptionBoxes();
    const TBitBoxes conversions = ConversionBoxes();
    TBitBoxes n2kOptions = NmeaGenBoxes();
    n2kOptions.insert(n2kOptions.end(), {{ui->chbCnvTLLtoPGN130074, kN2kCnvTLLtoPGN130074},
                                         {ui->chbConvUnknownPGNs, kN2kConvUnknownPGNs},
                                         {ui->chbConvAllPGNs, kN2kConvAllPGNs}});
    for (const auto& [box, bit] : options) {
        box->setProperty(kBitProperty, bit);
        connect(box, &QCheckBox::toggled, this, GuardedSlot([this, box = box] { OptionsClick(box); }));
    }
    for (const auto& [box, bit] : conversions) {
        box->setProperty(kBitProperty, bit);
        connect(box, &QCheckBox::toggled, this, GuardedSlot([this, box = box] { ConversionsClick(box); }));
    }
    for (const auto& [box, bit] : n2kOptions) {
        box->setProperty(kBitProperty, bit);
        connect(box, &QCheckBox::toggled, this, GuardedSlot([this, box = box] { Nmea2kOptionsClick(box); }));
    }
    QComboBox* const sources[] = {ui->cbPrimHdgSrc, ui->cbRotHdgSrc, ui->cbRotWindSrc};
    for (unsigned n = 0; n < 3; ++n)
        sources[n]->setProperty(kSourceProperty, n);
}

void TMainForm::ConnectSettingsSignals() {
    for (QComboBox* speed :
         {ui->cbBaudIn1, ui->cbBaudIn2, ui->cbBaudIn3, ui->cbBaudIn4, ui->cbBaudOut1, ui->cbBaudOut2})
        connect(speed, &QComboBox::activated, this, GuardedSlot([this, speed] { cbBaudIOChange(speed); }));
    for (QComboBox* priority : {ui->cbPrioIn1, ui->cbPrioIn2, ui->cbPrioIn3, ui->cbPrioIn4, ui->cbPrioN2K})
        connect(priority, &QComboBox::activated, this, GuardedSlot([this] { cbPrioChange(); }));
    connect(ui->cbPrioTimeout, &QComboBox::activated, this, GuardedSlot([this] { cbPrioTimeoutChange(); }));
    connect(ui->cbTrueWind, &QComboBox::activated, this, GuardedSlot([this] { cbTrueWindChange(); }));
    connect(ui->cbAttitude, &QComboBox::activated, this, GuardedSlot([this] { cbAttitudeChange(); }));
    connect(ui->cbDepth, &QComboBox::activated, this, GuardedSlot([this] { cbDepthChange(); }));
    connect(ui->cbTrueHeading, &QComboBox::activated, this, GuardedSlot([this] { cbTrueHeadingChange(); }));
    connect(ui->cbModbusMode, &QComboBox::activated, this, GuardedSlot([this] { cbModbusModeChange(); }));
    for (QCheckBox* route : RouteBoxes())
        connect(route, &QCheckBox::toggled, this, GuardedSlot([this] { chbRouteClick(); }));
    for (QComboBox* mode : {ui->cbModeOut1, ui->cbModeOut2})
        connect(mode, &QComboBox::activated, this, GuardedSlot([this] { chbRouteClick(); }));
    for (QComboBox* mode : {ui->cbModeIn1, ui->cbModeIn2, ui->cbModeIn3, ui->cbModeIn4})
        connect(mode, &QComboBox::activated, this, GuardedSlot([this] { cbModeInChange(); }));
    for (QComboBox* function : {ui->cbDevFuncHost, ui->cbDevFuncIn1, ui->cbDevFuncIn2, ui->cbDevFuncIn3,
                                ui->cbDevFuncIn4, ui->cbDevFuncConv})
        connect(function, &QComboBox::activated, this, GuardedSlot([this] { cbDevFuncInChange(); }));
    for (QComboBox* source : {ui->cbPrimHdgSrc, ui->cbRotHdgSrc, ui->cbRotWindSrc})
        connect(source, &QComboBox::activated, this,
                GuardedSlot([this, source] { cbRotMastWindChange(source); }));

    // Fields that commit with Enter: yellow while typed, committed on Enter.
    const auto commitOnEnter = [this](QLineEdit* edit, auto commit) {
        connect(edit, &QLineEdit::textEdited, this, [edit] { SetBase(edit, Qt::yellow); });
        connect(edit, &QLineEdit::returnPressed, this, GuardedSlot(commit));
    };
    for (QLineEdit* talker : TalkerIDEdits()) {
        commitOnEnter(talker, [this] { edtTalkIDKeyPress(); });
        talker->installEventFilter(this);
    }
    commitOnEnter(ui->edtUniqueID, [this] { edtUniqueIDKeyPress(); });
    for (QLineEdit* modbus : {ui->edtMbSlaveAddr, ui->edtMbXdrIntvl, ui->edtMbPollIntvl})
        commitOnEnter(modbus, [this, modbus] { edtMbEditKeyPress(modbus); });
    for (QLineEdit* sa : SAEdits())
        commitOnEnter(sa, [this, sa] { edtSAKeyPress(sa); });
    for (QLineEdit* di : DIEdits())
        commitOnEnter(di, [this, di] { edtDIKeyPress(di); });

    const auto digits = [this](int count) {
        return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(count)),
                                               this);
    };
    ui->edtMbSlaveAddr->setValidator(digits(3));
    ui->edtMbPollIntvl->setValidator(digits(3));
    ui->edtMbXdrIntvl->setValidator(digits(5));
    for (QLineEdit* edit : SAEdits())
        edit->setValidator(digits(3));
    for (QLineEdit* edit : DIEdits())
        edit->setValidator(digits(3));

    connect(ui->miResetFactorySettings, &QAction::triggered, this,
            GuardedSlot([this] { miResetFactorySettingsClick(); }));
}

std::vector<QCheckBox*> TMainForm::RouteBoxes() const {
    return {ui->chbRouteIn1Out1,  ui->chbRouteIn2Out1, ui->chbRouteIn3Out1,  ui->chbRouteIn4Out1,
            ui->chbRouteConvOut1, ui->chbRouteN2KOut1, ui->chbRouteIn1Out2,  ui->chbRouteIn2Out2,
            ui->chbRouteIn3Out2,  ui->chbRouteIn4Out2, ui->chbRouteConvOut2, ui->chbRouteN2KOut2};
}

std::vector<QLineEdit*> TMainForm::TalkerIDEdits() const {
    return {ui->edtTalkID1, ui->edtTalkID2, ui->edtTalkID3, ui->edtTalkID4, ui->edtTalkIDConv};
}

std::vector<QLineEdit*> TMainForm::SAEdits() const {
    return {ui->edtSAHost, ui->edtSAIn1, ui->edtSAIn2, ui->edtSAIn3, ui->edtSAIn4, ui->edtSAConv};
}

std::vector<QLineEdit*> TMainForm::DIEdits() const {
    return {ui->edtDIHost, ui->edtDIIn1, ui->edtDIIn2, ui->edtDIIn3, ui->edtDIIn4, ui->edtDIConv};
}

// Talker-ID fields: Delete empties the field, leaving it with an invalid ID
// puts the focus back.
bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (DataSourceLabelClicked(watched, event))
        return true;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit != nullptr && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        edit->clear();
        SetBase(edit, Qt::yellow);
        return true;
    }
    // Leaving for another control counts; a message box or menu taking the
    // focus for a moment does not.
    if (edit != nullptr && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Guarded([&] { edtTalkIDExit(edit); });
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Change handlers ----

void TMainForm::cbBaudIOChange(QComboBox* changed) {
    // Input 4 and output 1 share one speed.
    if (changed == ui->cbBaudIn4)
        ui->cbBaudOut1->setCurrentIndex(ui->cbBaudIn4->currentIndex());
    else if (changed == ui->cbBaudOut1)
        ui->cbBaudIn4->setCurrentIndex(ui->cbBaudOut1->currentIndex());
    TMuxConfig& c = MuxConfig;
    c.BaudIn1 = IndexOr(ui->cbBaudIn1, c.BaudIn1);
    c.BaudIn2 = IndexOr(ui->cbBaudIn2, c.BaudIn2);
    c.BaudIn3 = IndexOr(ui->cbBaudIn3, c.BaudIn3);
    c.BaudIn4Out1 = IndexOr(ui->cbBaudIn4, c.BaudIn4Out1);
    c.BaudOut2 = IndexOr(ui->cbBaudOut2, c.BaudOut2);
    SendAndWait(EncodeSP(c), TPQZXCmd::PQZXSP);
}

void TMainForm::cbPrioChange() {
    if (Updating)
        return;
    TMuxConfig& c = MuxConfig;
    c.PrioIn1 = IndexOr(ui->cbPrioIn1, c.PrioIn1);
    c.PrioIn2 = IndexOr(ui->cbPrioIn2, c.PrioIn2);
    c.PrioIn3 = IndexOr(ui->cbPrioIn3, c.PrioIn3);
    c.PrioIn4 = IndexOr(ui->cbPrioIn4, c.PrioIn4);
    c.PrioN2K = IndexOr(ui->cbPrioN2K, c.PrioN2K);
    SendAndWait(EncodePR(c), TPQZXCmd::PQZXPR);
    UpdateView();
}

void TMainForm::cbPrioTimeoutChange() {
    if (Updating)
        return;
    MuxConfig.PrioTimeout = IndexOr(ui->cbPrioTimeout, MuxConfig.PrioTimeout);
    SendAndWait(EncodeCF(MuxConfig), TPQZXCmd::PQZXCF);
}

void TMainForm::edtUniqueIDKeyPress() {
    const std::string text = ui->edtUniqueID->text().toLatin1().toStdString();
    ValidateUniqueID(text);
    SetBase(ui->edtUniqueID, WindowColour());
    MuxConfig.UID = text;
    ui->edtUniqueID->deselect();
    SendAndWait(EncodeUI(MuxConfig), TPQZXCmd::PQZXUI);
}

void TMainForm::OptionsClick(QCheckBox* box) {
    if (Updating)
        return;
    SetBit(MuxConfig.Options, BitOf(box), box->isChecked());
    SendAndWait(EncodeOP(MuxConfig), TPQZXCmd::PQZXOP);
    UpdateView();
}

void TMainForm::ConversionsClick(QCheckBox* box) {
    if (Updating)
        return;
    SetBit(MuxConfig.Conversions, BitOf(box), box->isChecked());
    SendAndWait(EncodeCNV(MuxConfig), TPQZXCmd::PQZXCNV);
    UpdateView();
}

void TMainForm::Nmea2kOptionsClick(QCheckBox* box) {
    if (Updating)
        return;
    SetBit(MuxConfig.N2kOptions, BitOf(box), box->isChecked());
    SendAndWait(EncodeNO(MuxConfig), TPQZXCmd::PQZXNO);
}

void TMainForm::cbTrueWindChange() {
    if (Updating || ui->cbTrueWind->currentIndex() < 0)
        return;
    SetBit(MuxConfig.Options, kOptTrueWindSOG, ui->cbTrueWind->currentIndex() == 1);
    SendAndWait(EncodeOP(MuxConfig), TPQZXCmd::PQZXOP);
}

void TMainForm::N2kSelectorChange(QComboBox* selector, unsigned bit) {
    if (Updating || selector->currentIndex() < 0)
        return;
    SetBit(MuxConfig.N2kOptions, bit, selector->currentIndex() == 1);
    SendAndWait(EncodeNO(MuxConfig), TPQZXCmd::PQZXNO);
}

void TMainForm::cbAttitudeChange() {
    N2kSelectorChange(ui->cbAttitude, kN2kAttitudePFEC);
}

void TMainForm::cbDepthChange() {
    N2kSelectorChange(ui->cbDepth, kN2kDepthDBT);
}

void TMainForm::cbTrueHeadingChange() {
    N2kSelectorChange(ui->cbTrueHeading, kN2kTrueHeadingTHS);
}

void TMainForm::cbModbusModeChange() {
    if (Updating)
        return;
    MuxConfig.ModbusMode = IndexOr(ui->cbModbusMode, MuxConfig.ModbusMode);
    SendAndWait(EncodeMBMode(MuxConfig), TPQZXCmd::PQZXMB);
    UpdateView();
}

void TMainForm::edtMbEditKeyPress(QLineEdit* edit) {
    if (Updating)
        return;
    constexpr std::uint32_t kMaxSlave = 247;
    constexpr std::uint32_t kMaxXdr = 65535;
    constexpr std::uint32_t kMaxPoll = 255;
    if (edit == ui->edtMbSlaveAddr) {
        const std::uint32_t address = FieldNumber(edit);
        if (address == 0 || address > kMaxSlave)
            throw std::runtime_error("Invalid slave address (1-247)");
        MuxConfig.ModbusSlvAddr = address;
        SendAndWait(EncodeMBSlave(MuxConfig), TPQZXCmd::PQZXMB);
        SetBase(edit, WindowColour());
        edit->deselect();
        return;
    }
    const std::uint32_t xdr = FieldNumber(ui->edtMbXdrIntvl);
    if (xdr == 0 || xdr > kMaxXdr)
        throw std::runtime_error("Invalid XDR interval (1-65535)");
    const std::uint32_t poll = FieldNumber(ui->edtMbPollIntvl);
    if (poll == 0 || poll > kMaxPoll)
        throw std::runtime_error("Invalid poll interval (1-255)");
    MuxConfig.ModbusXdrInterval = xdr;
    MuxConfig.ModbusPollInterval = poll;
    SendAndWait(EncodeMBIntervals(MuxConfig), TPQZXCmd::PQZXMB);
    for (QLineEdit* interval : {ui->edtMbXdrIntvl, ui->edtMbPollIntvl}) {
        SetBase(interval, WindowColour());
        interval->deselect();
    }
}

void TMainForm::chbRouteClick() {
    if (Updating)
        return;
    const struct {
        QCheckBox* Box;
        std::uint32_t* Word;
        unsigned Bit;
    } routes[] = {{ui->chbRouteIn1Out1, &MuxConfig.DefRouteOut1, kDefRouteIn1},
                  {ui->chbRouteIn2Out1, &MuxConfig.DefRouteOut1, kDefRouteIn2},
                  {ui->chbRouteIn3Out1, &MuxConfig.DefRouteOut1, kDefRouteIn3},
                  {ui->chbRouteIn4Out1, &MuxConfig.DefRouteOut1, kDefRouteIn4},
                  {ui->chbRouteConvOut1, &MuxConfig.DefRouteOut1, kDefRouteConv},
                  {ui->chbRouteN2KOut1, &MuxConfig.DefRouteOut1, kDefRouteN2K},
                  {ui->chbRouteIn1Out2, &MuxConfig.DefRouteOut2, kDefRouteIn1},
                  {ui->chbRouteIn2Out2, &MuxConfig.DefRouteOut2, kDefRouteIn2},
                  {ui->chbRouteIn3Out2, &MuxConfig.DefRouteOut2, kDefRouteIn3},
                  {ui->chbRouteIn4Out2, &MuxConfig.DefRouteOut2, kDefRouteIn4},
                  {ui->chbRouteConvOut2, &MuxConfig.DefRouteOut2, kDefRouteConv},
                  {ui->chbRouteN2KOut2, &MuxConfig.DefRouteOut2, kDefRouteN2K}};
    MuxConfig.DefRouteOut1 = 0;
    MuxConfig.DefRouteOut2 = 0;
    for (const auto& route : routes)
        SetBit(*route.Word, route.Bit, route.Box->isChecked());
    MuxConfig.ModeOut1 = IndexOr(ui->cbModeOut1, MuxConfig.ModeOut1);
    MuxConfig.ModeOut2 = IndexOr(ui->cbModeOut2, MuxConfig.ModeOut2);
    SendAndWait(EncodeDR(MuxConfig), TPQZXCmd::PQZXDR);
    UpdateView();
}

void TMainForm::StoreTalkerID(QLineEdit* field, std::string& target) {
    const std::string text = field->text().toLatin1().toStdString();
    switch (CheckTalkerID(text)) {
    case TTalkerIDCheck::tcEmpty:
    case TTalkerIDCheck::tcValid:
        // The field mask lets only letters and digits through; a text from
        // elsewhere is checked once more before it can reach a sentence.
        ValidateTalkerID(text);
        target = text;
        SetBase(field, WindowColour());
        field->deselect();
        return;
    case TTalkerIDCheck::tcProprietary:
        SetBase(field, Qt::red);
        field->deselect();
        throw ETalkerID(kMsgTalkerIDProprietary);
    case TTalkerIDCheck::tcIllegal:
        SetBase(field, Qt::red);
        field->deselect();
        throw ETalkerID(kMsgTalkerIDIllegal);
    }
}

void TMainForm::edtTalkIDKeyPress() {
    TMuxConfig& c = MuxConfig;
    try {
        StoreTalkerID(ui->edtTalkID1, c.TalkID1);
        StoreTalkerID(ui->edtTalkID2, c.TalkID2);
        StoreTalkerID(ui->edtTalkID3, c.TalkID3);
        StoreTalkerID(ui->edtTalkID4, c.TalkID4);
        StoreTalkerID(ui->edtTalkIDConv, c.TalkIDConv);
    } catch (const ETalkerID& e) {
        Dialogs().ShowMessage(QString::fromLatin1(e.what()));
        return;
    }
    SendAndWait(EncodeID(c), TPQZXCmd::PQZXID);
}

void TMainForm::edtTalkIDExit(QLineEdit* field) {
    const TTalkerIDCheck check = CheckTalkerID(field->text().toLatin1().toStdString());
    if (check != TTalkerIDCheck::tcProprietary && check != TTalkerIDCheck::tcIllegal)
        return;
    SetBase(field, Qt::red);
    field->setFocus();
    field->deselect();
    throw ETalkerID(check == TTalkerIDCheck::tcProprietary ? kMsgTalkerIDProprietary : kMsgTalkerIDIllegal);
}

void TMainForm::cbModeInChange() {
    TMuxConfig& c = MuxConfig;
    c.ModeIn1 = IndexOr(ui->cbModeIn1, c.ModeIn1);
    c.ModeIn2 = IndexOr(ui->cbModeIn2, c.ModeIn2);
    c.ModeIn3 = IndexOr(ui->cbModeIn3, c.ModeIn3);
    c.ModeIn4 = IndexOr(ui->cbModeIn4, c.ModeIn4);
    SendAndWait(EncodeIN(c), TPQZXCmd::PQZXIN);
    // The device learns of the SeaTalk bit with the next option word.
    SetBit(c.Options, kOptSeaTalkIn1, c.ModeIn1 == kModeInSeaTalk || c.ModeIn1 == kModeInSeaTalkSTNG);
    UpdateView();
}

void TMainForm::cbDevFuncInChange() {
    TMuxConfig& c = MuxConfig;
    c.DevFuncHost = IndexOr(ui->cbDevFuncHost, c.DevFuncHost);
    c.DevFuncIn1 = IndexOr(ui->cbDevFuncIn1, c.DevFuncIn1);
    c.DevFuncIn2 = IndexOr(ui->cbDevFuncIn2, c.DevFuncIn2);
    c.DevFuncIn3 = IndexOr(ui->cbDevFuncIn3, c.DevFuncIn3);
    c.DevFuncIn4 = IndexOr(ui->cbDevFuncIn4, c.DevFuncIn4);
    c.DevFuncConv = IndexOr(ui->cbDevFuncConv, c.DevFuncConv);
    SendAndWait(EncodeNF(c), TPQZXCmd::PQZXNF);
    UpdateView();
}

namespace {

// Reads the six fields of a row of the "Device Settings" group into the model in
// order: a number beyond max keeps the model's value, a field without a number
// stops there (the fields before it are stored).
void StoreRow(const std::vector<QLineEdit*>& fields, std::uint32_t* const (&targets)[6], std::uint32_t max,
              const QColor& colour) {
    for (QLineEdit* field : fields)
        SetBase(field, colour);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::uint32_t value = FieldNumber(fields[i]);
        if (value <= max)
            *targets[i] = value;
    }
}

} // namespace

void TMainForm::edtSAKeyPress(QLineEdit* edit) {
    constexpr std::uint32_t kMaxAddress = 251;
    TMuxConfig& c = MuxConfig;
    std::uint32_t* const targets[6] = {&c.SAHost, &c.SAIn1, &c.SAIn2, &c.SAIn3, &c.SAIn4, &c.SAConv};
    StoreRow(SAEdits(), targets, kMaxAddress, ButtonFace());
    edit->deselect();
    SendAndWait(EncodeNA(c), TPQZXCmd::PQZXNA);
}

void TMainForm::edtDIKeyPress(QLineEdit* edit) {
    constexpr std::uint32_t kMaxInstance = 255;
    TMuxConfig& c = MuxConfig;
    std::uint32_t* const targets[6] = {&c.DIHost, &c.DIIn1, &c.DIIn2, &c.DIIn3, &c.DIIn4, &c.DIConv};
    StoreRow(DIEdits(), targets, kMaxInstance, WindowColour());
    edit->deselect();
    SendAndWait(EncodeND(c), TPQZXCmd::PQZXND);
}

void TMainForm::cbRotMastWindChange(QComboBox* selector) {
    if (Updating || selector->currentIndex() < 0)
        return;
    const unsigned n = selector->property(kSourceProperty).toUInt();
    TDataSource& source = MuxConfig.DataSrcTable[n];
    const int item = selector->currentIndex();
    if (item == 0) {
        source.Input = 0;
        SendAndWait(EncodeDS(MuxConfig, n), TPQZXCmd::PQZXDS);
    } else if (item <= 4) {
        source.Input = static_cast<char>('0' + item);
        SendAndWait(EncodeDS(MuxConfig, n), TPQZXCmd::PQZXDS);
    } else {
        // A device is sent only once it is known; until then the row offers "<Click>".
        source.Input = TDataSource::kN2K;
        if (source.Name.N != 0)
            SendAndWait(EncodeDS(MuxConfig, n), TPQZXCmd::PQZXDS);
    }
    const bool updating = Updating;
    Updating = true;
    ShowDataSources();
    Updating = updating;
}

// ---- Whole model and factory settings ----

void TMainForm::WriteAllSettings() {
    // Loaded values reach the device only over a link to a multiplexer whose
    // capabilities were understood and whose firmware the tool can work with;
    // otherwise the user learns that nothing was written.
    const QString refusal = WriteAllRefusal();
    if (!refusal.isEmpty()) {
        Dialogs().ShowMessage(refusal);
        return;
    }
    TMuxConfig& c = MuxConfig;
    // A text from a file could break a sentence: check before anything is sent.
    try {
        EncodeID(c);
        EncodeUI(c);
        // The table entries too: a store never stops half way for an entry that cannot be sent.
        RouteStorePlan(c);
        ModbusStorePlan(c);
        MobStorePlan(c);
    } catch (const std::runtime_error& e) {
        Dialogs().ShowMessage(QString::fromLatin1(e.what()));
        return;
    }

    TBusyScope busy(*this);
    TWaitCursor cursor;
    EnableControls(false);
    // Each step by what it writes, so that a failure can say what was not written.
    using TStep = std::pair<const char*, std::function<void()>>;
    std::vector<TStep> steps{{"the priority time-out", [&] { SendAndWait(EncodeCF(c), TPQZXCmd::PQZXCF); }},
                             {"the speeds", [&] { SendAndWait(EncodeSP(c), TPQZXCmd::PQZXSP); }},
                             {"the talker IDs", [&] { SendAndWait(EncodeID(c), TPQZXCmd::PQZXID); }},
                             {"the unique ID", [&] { SendAndWait(EncodeUI(c), TPQZXCmd::PQZXUI); }},
                             {"the default routes", [&] { SendAndWait(EncodeDR(c), TPQZXCmd::PQZXDR); }},
                             {"the input modes", [&] { SendAndWait(EncodeIN(c), TPQZXCmd::PQZXIN); }},
                             {"the priorities", [&] { SendAndWait(EncodePR(c), TPQZXCmd::PQZXPR); }},
                             {"the options", [&] { SendAndWait(EncodeOP(c), TPQZXCmd::PQZXOP); }},
                             {"the conversions", [&] { SendAndWait(EncodeCNV(c), TPQZXCmd::PQZXCNV); }},
                             {"the Modbus mode", [&] {
                                  SendAndWait(EncodeMBMode(c), TPQZXCmd::PQZXMB);
                                  // 0 is what a report without the address leaves: no address to restore.
                                  if (c.ModbusSlvAddr >= kMinModbusSlave &&
                                      c.ModbusSlvAddr <= kMaxModbusSlave)
                                      SendAndWait(EncodeMBSlave(c), TPQZXCmd::PQZXMB);
                                  // Likewise an interval the multiplexer never reported is not made up.
                                  if (c.ModbusXdrInterval != 0 && c.ModbusPollInterval != 0)
                                      SendAndWait(EncodeMBIntervals(c), TPQZXCmd::PQZXMB);
                              }}};
    if (HasNmea2000())
        steps.push_back({"the NMEA 2000 settings", [&] {
                             SendAndWait(EncodeNO(c), TPQZXCmd::PQZXNO);
                             SendAndWait(EncodeNF(c), TPQZXCmd::PQZXNF);
                             SendAndWait(EncodeND(c), TPQZXCmd::PQZXND);
                         }});
    steps.push_back({"the routing table", [&] { Tables->RouteStore(); }});
    steps.push_back({"the Modbus table", [&] { Tables->ModbusStore(); }});
    steps.push_back({"the AIS MOB table", [&] { Tables->MobStore(); }});
    steps.push_back({"the data sources", [&] {
                         for (unsigned n = 0; n < TMuxConfig::kDataSources; ++n) {
                             std::this_thread::sleep_for(std::chrono::milliseconds(10));
                             SendAndWait(EncodeDS(c, n), TPQZXCmd::PQZXDS);
                         }
                     }});
    for (std::size_t i = 0; i < steps.size(); ++i) {
        try {
            steps[i].second();
        } catch (const ETimeOut& e) {
            Dialogs().ShowMessage(QString::fromLatin1(e.what()));
            break;
        } catch (const ELinkClosed& e) {
            // The link is gone: say what the multiplexer did not get.
            QString notWritten;
            for (std::size_t j = i; j < steps.size(); ++j)
                notWritten +=
                    (j == i ? QString() : QStringLiteral(", ")) + QString::fromLatin1(steps[j].first);
            Dialogs().ShowMessage(QString::fromLatin1(e.what()) + QStringLiteral(".\rNot written: ") +
                                  notWritten + QStringLiteral("."));
            break;
        }
    }
    if (IsLinkOpen())
        EnableControls(true);
}

QString TMainForm::WriteAllRefusal() const {
    if (!IsLinkOpen())
        return QStringLiteral("No multiplexer is connected: nothing was written.");
    if (MuxInterface < 0)
        return QStringLiteral("The capabilities of the multiplexer are unknown: nothing was written.");
    if (!IsFirmwareCompatible(MuxVersion))
        return QStringLiteral("The firmware of the multiplexer is too old: nothing was written.");
    return {};
}

void TMainForm::miResetFactorySettingsClick() {
    if (Dialogs().Confirm(QStringLiteral(
            "This will restore the factory settings\rof the multiplexer. Do you really want to proceed?")))
        SendSentence(std::string(kFactoryReset));
    // Either way the window shows what the device holds now.
    if (IsLinkOpen())
        btnReadConfigClick();
}

} // namespace kvl
