#include "firmware/EmbeddedFirmware.h"

#include "model/InOutError.h"

#include <QFile>
#include <QString>

namespace kvl {

TResourceReader EmbeddedFirmware() {
    return [](std::string_view name) {
        QFile file(QStringLiteral(":/firmware/") +
                   QString::fromLatin1(name.data(), static_cast<int>(name.size())));
        if (!file.open(QIODevice::ReadOnly))
            throw EInOutError("Cannot open the program's resource " + std::string(name));
        const QByteArray bytes = file.readAll();
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    };
}

std::string EnclosedFirmwareVersion() {
    return EnclosedFirmwareVersion(EmbeddedFirmware());
}

bool EmbeddedFirmwareIsSynthetic() {
#if KVL_FIRMWARE_SYNTHETIC
    return true;
#else
    return false;
#endif
}

bool IsSimulatorDeviceName(std::string_view device) {
    return device.size() > kSimulatorMarker.size() && device.ends_with(kSimulatorMarker);
}

} // namespace kvl
