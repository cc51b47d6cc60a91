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
    AskAgain.clear();
    Changed();
}

void TN2KDeviceList::Scan() {
    FScanState = TScanState::scAddrClm;
    Scanning = true;
    Walking = false;
    NewSeen = false;
    Clear();
    ReqTimer.setInterval(kAnswerMs);
    ReqTimer.start();
    Request(kPgnAddressClaim, kNoRequest);
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
        StopAsking();
        Changed();
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
    const auto exact =
        std::find_if(Devices.begin(), Devices.end(), [&](const TDeviceInfo* d) { return d->Name == name; });
    if (exact != Devices.end())
        return *exact;
    const auto found = std::find_if(Devices.begin(), Devices.end(),
                                    [&](const TDeviceInfo* d) { return SameDevice(d->Name, name); });
    return found == Devices.end() ? nullptr : *found;
}

bool TN2KDeviceList::IsListed(const TDeviceInfo& entry) const {
    return std::find(Devices.begin(), Devices.end(), &entry) != Devices.end();
}

// The walk through the table visits the used addresses in ascending order; the
// addresses taken over after the walk had passed them come after it.
std::uint32_t TN2KDeviceList::FirstToAsk() {
    Walking = true;
    NameTabGetIdx = 0;
    if (!DeviceTable[0].Name.IsEmpty())
        return 0;
    return NextToAsk();
}

std::uint32_t TN2KDeviceList::NextToAsk() {
    if (Walking) {
        const std::uint32_t next = NextUsedAddress();
        if (next != kNoRequest)
            return next;
        Walking = false;
    }
    while (!AskAgain.empty()) {
        const std::uint8_t sa = AskAgain.front();
        AskAgain.erase(AskAgain.begin());
        if (!DeviceTable[sa].Name.IsEmpty() && !IsListed(DeviceTable[sa]))
            return sa;
    }
    return kNoRequest;
}

std::uint32_t TN2KDeviceList::NextUsedAddress() {
    while (NameTabGetIdx < kLastAddress) {
        ++NameTabGetIdx;
        if (!DeviceTable[NameTabGetIdx].Name.IsEmpty())
            return NameTabGetIdx;
    }
    return kNoRequest;
}

// Every device has been asked: the state says whether a device appeared meanwhile.
void TN2KDeviceList::EndAsking() {
    Scanning = false;
    Walking = false;
    RequestSA = kNoRequest;
    FScanState = NewSeen ? TScanState::scNew : TScanState::scIdle;
    ReqTimer.stop();
}

// Nothing more can be asked (the link is gone): back to idle, whatever was pending.
void TN2KDeviceList::StopAsking() {
    Scanning = false;
    Walking = false;
    AskAgain.clear();
    RequestSA = kNoRequest;
    FScanState = TScanState::scIdle;
    ReqTimer.stop();
}

void TN2KDeviceList::ReqTimerTimer() {
    if (!Host.IsLinkOpen() || FScanState == TScanState::scIdle) {
        StopAsking();
        Changed();
        return;
    }
    switch (FScanState) {
    case TScanState::scAddrClm:
        if (!UniqueIdKnown)
            break; // the claims keep coming in; the requests wait for the unique ID
        RequestSA = FirstToAsk();
        if (RequestSA == kNoRequest) {
            EndAsking();
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
            RequestSA = NextToAsk();
            if (RequestSA == kNoRequest)
                EndAsking();
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
    if (FScanState == TScanState::scIdle || FScanState == TScanState::scNew)
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
    const TName claimed(*name);
    if (entry.Name == claimed)
        return;
    const bool otherDevice = entry.Name.Serial() != claimed.Serial();
    if (otherDevice && !Scanning) {
        NewSeen = true;
        if (FScanState == TScanState::scIdle)
            FScanState = TScanState::scNew;
    }
    bool ask = false;
    if (TDeviceInfo* moved = ElsewhereWithName(claimed, entry)) {
        MoveEntry(*moved, entry);
        ask = !IsListed(entry); // what it had not told yet, it is asked at its new address
    } else if (otherDevice && !entry.Name.IsEmpty()) {
        // Another device took the address over: nothing known of the old one is its.
        ForgetEntry(entry);
        ask = true;
    }
    entry.SA = static_cast<std::uint8_t>(*sa);
    entry.Name = claimed;
    if (ask)
        AskAgainFor(entry.SA);
    Changed();
}

// Only the whole NAME tells a device that moved: two devices may differ in
// nothing but their instances.
TDeviceInfo* TN2KDeviceList::ElsewhereWithName(TName name, const TDeviceInfo& here) {
    for (TDeviceInfo& other : DeviceTable)
        if (&other != &here && other.Name == name)
            return &other;
    return nullptr;
}

// A device that claims a new address takes what is known of it along, and keeps
// its place in the list; whatever the new address held before is no longer there.
void TN2KDeviceList::MoveEntry(TDeviceInfo& from, TDeviceInfo& to) {
    std::erase(Devices, &to);
    const auto place = std::find(Devices.begin(), Devices.end(), &from);
    if (place != Devices.end())
        *place = &to;
    to = from;
    from = TDeviceInfo{};
}

void TN2KDeviceList::ForgetEntry(TDeviceInfo& entry) {
    std::erase(Devices, &entry);
    entry = TDeviceInfo{};
}

// The address's new device is asked for its own product information: by the
// walk when it has not passed the address yet, at once otherwise.
void TN2KDeviceList::AskAgainFor(std::uint8_t sa) {
    if (FScanState == TScanState::scAddrClm || (Walking && sa > NameTabGetIdx))
        return;
    if (sa == RequestSA) {
        if (FScanState == TScanState::scProdInfo) {
            RequestProductInfo();
            ReqTimer.start(kAnswerMs);
        }
        return;
    }
    if (std::find(AskAgain.begin(), AskAgain.end(), sa) == AskAgain.end())
        AskAgain.push_back(sa);
    if (FScanState == TScanState::scIdle || FScanState == TScanState::scNew) {
        RequestSA = NextToAsk();
        FScanState = TScanState::scNext;
        ReqTimer.setInterval(kPauseMs);
        ReqTimer.start();
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
            if (!IsListed(sender))
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
    RequestSA = NextToAsk();
    if (RequestSA == kNoRequest) {
        EndAsking();
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
