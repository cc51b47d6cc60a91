// TN2KDeviceList: the scanner of the NMEA 2000 bus behind the multiplexer. It
// asks for every device's address claim, keeps a table of NAMEs by source
// address, then asks device by device for the product information and lists the
// devices whose answer is complete. Everything runs on the window thread: the
// dispatcher hands in the received reports and ReqTimer paces the requests.
#pragma once

#include "model/Name.h"
#include "model/OnChange.h"
#include "n2k/N2KDevice.h"
#include "n2k/N2KMfgTable.h"
#include "sentence/Sentence.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <vector>

namespace kvl {

class TMuxHost;

class TN2KDeviceList : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint32_t kPgnAddressClaim = 60928;
    static constexpr std::uint32_t kPgnProductInfo = 126996;
    static constexpr std::uint32_t kNoRequest = 255;
    static constexpr std::uint32_t kRetries = 3;
    static constexpr int kAnswerMs = 500;
    static constexpr int kPauseMs = 50;
    static constexpr std::size_t kTableSize = 255;

    // handle: the main window's converter notification, called with 0 when a
    // Raymarine SeaTalk-STNG converter has answered; it may run a nested wait.
    TN2KDeviceList(TMuxHost& host, std::function<void(int)> handle);

    void Scan();
    void Clear();
    void ProcessNmea(const TSentence& sentence);
    // The listed device with exactly this NAME; otherwise the first listed device
    // that is the same device as name (its instances changed since), or none.
    const TDeviceInfo* GetDeviceInfo(TName name) const;
    std::size_t DeviceCount() const { return Devices.size(); }

    // The source tags that name a device's address are only understood once the
    // configuration read has told the multiplexer's unique ID: until then the
    // product information requests wait, so that no answer is lost.
    void SetUniqueIdKnown(bool known);

    TScanState ScanState() const { return FScanState; }
    const std::vector<const TDeviceInfo*>& GetDevices() const { return Devices; }
    const TMfgTable& GetMfgTable() const { return MfgTable; }
    // The NAME that has claimed address sa, 0 when none has.
    TName NameAt(std::uint8_t sa) const;
    std::uint32_t GetRequestSA() const { return RequestSA; }

    TOnChange OnDeviceChange;
    QTimer ReqTimer;
    // ReqTimer's handler: the claims have had their time, or an answer has not
    // come, or the pause before the next device is over.
    void ReqTimerTimer();

private:
    void HandleAddressClaim(const TSentence& sentence);
    void HandleProductInfo(const TSentence& sentence);
    TDeviceInfo* ElsewhereWithName(TName name, const TDeviceInfo& here);
    void MoveEntry(TDeviceInfo& from, TDeviceInfo& to);
    void ForgetEntry(TDeviceInfo& entry);
    void AskAgainFor(std::uint8_t sa);
    void StorePart(TDeviceInfo& entry, char part, const TSentence& sentence);
    void EndDevice();
    void EndAsking();
    void StopAsking();
    void Request(std::uint32_t pgn, std::uint32_t destination);
    void RequestProductInfo();
    std::uint32_t FirstToAsk();
    std::uint32_t NextToAsk();
    std::uint32_t NextUsedAddress();
    bool IsListed(const TDeviceInfo& entry) const;
    void Changed();

    TMuxHost& Host;
    std::function<void(int)> Handle;
    std::uint32_t NameTabGetIdx = 0;
    std::uint32_t RequestSA = kNoRequest;
    std::uint32_t RequestRetry = 0;
    TScanState FScanState = TScanState::scIdle;
    bool UniqueIdKnown = true;
    // A scan runs from Scan until every device was asked; Walking while the walk
    // through the table has not reached its end.
    bool Scanning = false;
    bool Walking = false;
    // A device appeared while no scan ran: asking ends in scNew, not scIdle.
    bool NewSeen = false;
    // Addresses taken over by another device after the walk had passed them.
    std::vector<std::uint8_t> AskAgain;
    std::array<TDeviceInfo, kTableSize> DeviceTable;
    TMfgTable MfgTable;
    std::vector<const TDeviceInfo*> Devices;
};

} // namespace kvl
