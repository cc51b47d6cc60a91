#include "firmware/MemoryReadout.h"

#include "host/Dialogs.h"
#include "model/InOutError.h"
#include "sentence/NmeaText.h"

#include <QFile>

#include <algorithm>
#include <vector>

namespace kvl {

void TMemoryReadout::HandleMEM(const TSentence& sentence) {
    BinaryAddress = 0;
    BinarySize = 0;
    BinaryBlocks = 0;
    BinaryData.reset();
    if (Host.GetRXState() == TRXState::stGetBinary)
        Host.SetRXState(TRXState::stNormal);
    if (sentence.Field(1) != "R")
        return;
    const std::uint32_t address = sentence.FieldHex(2);
    const std::uint32_t size = sentence.FieldHex(3);
    const std::uint32_t blocks = sentence.FieldDec(4);
    BinaryAddress = address;
    BinarySize = size;
    BinaryBlocks = blocks;
    if (BinarySize != 0 && BinaryBlocks != 0) {
        BinaryData = std::make_unique<TBinaryData>();
        Host.SetRXState(TRXState::stGetBinary);
    }
}

bool TMemoryReadout::HandleBIN(const TSentence& sentence) {
    const std::uint32_t block = sentence.FieldDec(1);
    std::vector<std::uint8_t> bytes;
    Decode6Bit(sentence.Field(2), bytes);
    if (!BinaryData)
        return false;
    // Nothing beyond the announced size is kept.
    const std::size_t room = BinarySize - BinaryData->Size();
    bytes.resize(std::min(bytes.size(), room));
    BinaryData->Append(bytes);
    if (block != BinaryBlocks || BinaryData->Size() != BinarySize)
        return false;
    // The bytes are taken out of the read-out before the dialog opens.
    const std::unique_ptr<TBinaryData> data = std::move(BinaryData);
    const std::uint32_t address = BinaryAddress;
    Host.SetRXState(TRXState::stNormal);
    Save(*data, address);
    return true;
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
