#include "firmware/MemoryReadout.h"

#include "host/Dialogs.h"
#include "model/InOutError.h"
#include "sentence/NmeaText.h"
#include "widgets/ProgressForm.h"

#include <QFile>

#include <algorithm>
#include <limits>
#include <vector>

namespace kvl {

namespace {

const QString kDamagedLine = QStringLiteral(
    "The memory read-out was broken off: a line arrived damaged (wrong checksum). Nothing was saved.");
const QString kStalled =
    QStringLiteral("The memory read-out stopped: no line came for 2 seconds. Nothing was saved.");

bool UpdateRuns(TRXState state) {
    return state == TRXState::stFwUpdStart || state == TRXState::stFwUpdEnd;
}

} // namespace

TMemoryReadout::TMemoryReadout(TMuxHost& host, TProgress& progress) : Host(host), Progress(progress) {
    StallTimer.setSingleShot(true);
    StallTimer.setInterval(kStallMs);
    StallTimer.callOnTimeout([this] {
        if (Host.GetRXState() == TRXState::stGetBinary)
            Abort(kStalled);
    });
}

TMemoryReadout::~TMemoryReadout() = default;

void TMemoryReadout::HandleMEM(const TSentence& sentence) {
    if (UpdateRuns(Host.GetRXState()) || (sentence.Error & TSentence::kErrChecksum) != 0)
        return;
    Stop();
    BinaryAddress = 0;
    BinarySize = 0;
    BinaryBlocks = 0;
    if (sentence.Field(1) != "R")
        return;
    const std::uint32_t address = sentence.FieldHex(2);
    const std::uint32_t size = sentence.FieldHex(3);
    const std::uint32_t blocks = sentence.FieldDec(4);
    BinaryAddress = address;
    BinarySize = size;
    BinaryBlocks = blocks;
    if (BinarySize == 0 || BinaryBlocks == 0)
        return;
    BinaryData = std::make_unique<TBinaryData>();
    Host.SetRXState(TRXState::stGetBinary);
    StallTimer.start();
    Progress.Start(QStringLiteral("Memory Read-out"), QStringLiteral("Reading memory..."));
    Progress.SetMaximum(
        static_cast<int>(std::min<std::uint32_t>(BinarySize, std::numeric_limits<int>::max())));
}

bool TMemoryReadout::HandleBIN(const TSentence& sentence) {
    // A damaged line would put wrong bytes into the file, or lose some.
    if ((sentence.Error & TSentence::kErrChecksum) != 0) {
        Abort(kDamagedLine);
        return true;
    }
    const std::uint32_t block = sentence.FieldDec(1);
    std::vector<std::uint8_t> bytes;
    Decode6Bit(sentence.Field(2), bytes);
    if (!BinaryData)
        return false;
    StallTimer.start();
    // Nothing beyond the announced size is kept.
    const std::size_t room = BinarySize - BinaryData->Size();
    bytes.resize(std::min(bytes.size(), room));
    BinaryData->Append(bytes);
    Progress.SetPosition(
        static_cast<int>(std::min<std::size_t>(BinaryData->Size(), std::numeric_limits<int>::max())));
    if (block != BinaryBlocks || BinaryData->Size() != BinarySize)
        return false;
    // The bytes are taken out of the read-out before the dialog opens.
    const std::unique_ptr<TBinaryData> data = std::move(BinaryData);
    const std::uint32_t address = BinaryAddress;
    Stop();
    Save(*data, address);
    return true;
}

void TMemoryReadout::LinkClosed() {
    Stop();
}

void TMemoryReadout::Stop() {
    StallTimer.stop();
    const bool running = BinaryData || Host.GetRXState() == TRXState::stGetBinary;
    BinaryData.reset();
    if (!running)
        return; // the progress window may be showing another operation
    Progress.hide();
    if (Host.GetRXState() == TRXState::stGetBinary)
        Host.SetRXState(TRXState::stNormal);
}

void TMemoryReadout::Abort(const QString& message) {
    Stop();
    Dialogs().ShowMessage(message);
}

void TMemoryReadout::Save(const TBinaryData& data, std::uint32_t address) {
    const QString fileName = Dialogs().SaveFileName(kSaveFilters, kSaveFilterHex, QString());
    if (fileName.isEmpty())
        return;
    try {
        data.SaveToHexFile(QFile::encodeName(fileName).toStdString(), address);
    } catch (const EInOutError& e) {
        Dialogs().ShowMessage(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace kvl
