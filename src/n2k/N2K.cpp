#include "n2k/N2K.h"

#include "host/MuxHost.h"
#include "link/Comms.h"
#include "sentence/NmeaText.h"

#include <QFile>

#include <algorithm>

namespace kvl {

namespace {

constexpr std::uint32_t kLastAddress = 254;

std::string LoadResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

} // namespace

TN2KDeviceList::TN2KDeviceList(TMuxHost& host, std::function<void(int)> handle)
    : Host(host), Handle(std::move(handle)) {
    MfgTable.Load(LoadResource(QStringLiteral(":/MFRCODES")));
    for (TDeviceInfo& entry : DeviceTable)
        entry.SA = TDeviceInfo::kUnused;
    connect(&ReqTimer, &QTimer::timeout, this, [this] { ReqTimerTimer(); });
}

void TN2KDeviceList::Changed() {
    if (OnDeviceChange)
        OnDeviceChange();
}

void TN2KDeviceList::Clear() {
    DeviceTable.fill(TDeviceInfo{});
    Devices.clear();
    Changed();
}

void TN2KDeviceList::Scan() {
    FScanState = TScanState::scAddrClm;
    Clear();
    Request(kPgnAddressClaim, kNoRequest);
    ReqTimer.setInterval(kAnswerMs);
    ReqTimer.start();
}

void TN2KDeviceList::SetUniqueIdKnown(bool known) {
    UniqueIdKnown = known;
}

// Requests go straight to the link; a link lost meanwhile ends the scan, and the
// window reports the loss at its next own send.
void TN2KDeviceList::Request(std::uint32_t pgn, std::uint32_t destination) {
    try {
        Host.SendNmea("$PQZXNR," + std::to_string(pgn) + "," + std::to_string(destination));
    } catch (const std::exception&) {
        FScanState = TScanState::scIdle;
    }
}

void TN2KDeviceList::RequestProductInfo() {
    RequestRetry = kRetries;
    Request(kPgnProductInfo, RequestSA);
}

TName TN2KDeviceList::NameAt(std::uint8_t sa) const {
    return sa < kTableSize ? DeviceTable[sa].Name : TName{};
}

const TDeviceInfo* TN2KDeviceList::GetDeviceInfo(TName name) const {
    const auto found = std::find_if(Devices.begin(), Devices.end(),
                                    [&](const TDeviceInfo* d) { return SameDevice(d->Name, name); });
    return found == Devices.end() ? nullptr : *found;
}

std::uint32_t TN2KDeviceList::FirstUsedAddress() {
    NameTabGetIdx = 0;
    if (!DeviceTable[0].Name.IsEmpty())
        return 0;
    return NextUsedAddress();
}

std::uint32_t TN2KDeviceList::NextUsedAddress() {
    while (NameTabGetIdx < kLastAddress) {
        ++NameTabGetIdx;
        if (!DeviceTable[NameTabGetIdx].Name.IsEmpty())
            return NameTabGetIdx;
    }
    return kNoRequest;
}

void TN2KDeviceList::ReqTimerTimer() {
    if (!Host.IsLinkOpen() || FScanState == TScanState::scIdle) {
        ReqTimer.stop();
        RequestSA = kNoRequest;
        Changed();
        return;
    }
    switch (FScanState) {
    case TScanState::scAddrClm:
        if (!UniqueIdKnown)
            break; // the claims keep coming in; the requests wait for the unique ID
        RequestSA = FirstUsedAddress();
        if (RequestSA == kNoRequest) {
            FScanState = TScanState::scIdle;
        } else {
            ReqTimer.setInterval(kAnswerMs);
            FScanState = TScanState::scProdInfo;
            RequestProductInfo();
        }
        break;
    case TScanState::scProdInfo:
        if (RequestRetry > 0) {
            --RequestRetry;
            Request(kPgnProductInfo, RequestSA);
        } else {
            RequestSA = NextUsedAddress();
            if (RequestSA == kNoRequest)
                FScanState = TScanState::scIdle;
            else
                RequestProductInfo();
        }
        break;
    case TScanState::scNext:
        ReqTimer.setInterval(kAnswerMs);
        FScanState = TScanState::scProdInfo;
        RequestProductInfo();
        break;
    default:
        break;
    }
    if (FScanState == TScanState::scIdle)
        ReqTimer.stop();
    Changed();
}

void TN2KDeviceList::ProcessNmea(const TSentence& sentence) {
    if (sentence.Command == TPQZXCmd::PQZXNC)
        HandleAddressClaim(sentence);
    else if (sentence.Command == TPQZXCmd::PQZXNP)
        HandleProductInfo(sentence);
}

void TN2KDeviceList::HandleAddressClaim(const TSentence& sentence) {
    constexpr std::size_t kNameDigits = 16;
    if (sentence.FieldCount() < 4 || sentence.Fields[1] != "R" || sentence.Fields[2].size() != kNameDigits)
        return;
    const auto sa = ParseDecimal(sentence.Fields[3], kLastAddress);
    const auto name = ParseHex(sentence.Fields[2]);
    if (!sa || !name)
        return;
    TDeviceInfo& entry = DeviceTable[*sa];
    if (entry.Name.N == *name)
        return;
    if (entry.Name.Serial() != TName(*name).Serial() && FScanState == TScanState::scIdle)
        FScanState = TScanState::scNew;
    entry.SA = static_cast<std::uint8_t>(*sa);
    entry.Name = *name;
    ForgetOtherAddresses(entry);
    Changed();
}

// A device that claims a new address gives up its old one: what the table held
// there, and the list's row for it, are no longer that device.
void TN2KDeviceList::ForgetOtherAddresses(const TDeviceInfo& claimed) {
    for (TDeviceInfo& other : DeviceTable) {
        if (&other == &claimed || other.Name.IsEmpty() || !SameDevice(other.Name, claimed.Name))
            continue;
        std::erase(Devices, &other);
        other = TDeviceInfo{};
    }
}

void TN2KDeviceList::HandleProductInfo(const TSentence& sentence) {
    // An answer without a source address (untagged, or tagged before the unique
    // ID was known) belongs to no device.
    if (FScanState != TScanState::scProdInfo || sentence.Source != TSource::SrcN2K ||
        sentence.SA >= kTableSize || sentence.FieldCount() < 2 || sentence.Fields[1].size() != 1)
        return;
    const char part = sentence.Fields[1][0];
    if (part != 'A' && part != 'B' && part != 'C')
        return;
    TDeviceInfo& sender = DeviceTable[sentence.SA];
    if (sentence.SA == RequestSA) {
        StorePart(sender, part, sentence);
        if (part == 'C') {
            if (IsBarePartNumber(sender))
                sender.ModelID = sender.ModelVersion;
            ReqTimer.stop();
            if (std::find(Devices.begin(), Devices.end(), &sender) == Devices.end())
                Devices.push_back(&sender);
            Changed();
        }
    }
    if (part != 'C')
        return;
    const bool converter =
        sender.Name.ManufacturerCode() == kMfgRaymarine && sender.ProductCode == kProductSTNGConverter;
    // The scan moves on, and says so, before the window hears of a converter: its
    // answer runs a nested wait (which may end in a time-out error), during which
    // the timer and further answers carry on from here.
    EndDevice();
    Changed();
    if (converter && Handle)
        Handle(0);
}

void TN2KDeviceList::EndDevice() {
    RequestSA = NextUsedAddress();
    if (RequestSA == kNoRequest) {
        FScanState = TScanState::scIdle;
        ReqTimer.stop();
    } else {
        FScanState = TScanState::scNext;
        ReqTimer.setInterval(kPauseMs);
        ReqTimer.start();
    }
}

void TN2KDeviceList::StorePart(TDeviceInfo& entry, char part, const TSentence& sentence) {
    const auto field = [&](std::size_t i) -> std::string_view {
        return i < sentence.FieldCount() ? std::string_view(sentence.Fields[i]) : std::string_view{};
    };
    switch (part) {
    case 'A':
        entry.N2KVersion = CutField(field(3), TDeviceInfo::kVersionLength);
        entry.ProductCode =
            static_cast<std::uint16_t>(NumberOr(field(4), 0xFFFF, TDeviceInfo::kUnknownProduct));
        entry.CertLvl = static_cast<std::uint8_t>(NumberOr(field(5), 0xFF, TDeviceInfo::kUnknown));
        entry.LEN = static_cast<std::uint8_t>(NumberOr(field(6), 0xFF, TDeviceInfo::kUnknown));
        break;
    case 'B':
        entry.ModelID = TrimmedField(field(2), TDeviceInfo::kTextLength);
        entry.SerialNo = TrimmedField(field(3), TDeviceInfo::kTextLength);
        break;
    default:
        entry.SwVersion = TrimmedField(field(2), TDeviceInfo::kTextLength);
        entry.ModelVersion = TrimmedField(field(3), TDeviceInfo::kTextLength);
        break;
    }
}

} // namespace kvl
