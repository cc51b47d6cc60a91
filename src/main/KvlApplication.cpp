#include "main/KvlApplication.h"

#include "main/Dialogs.h"

namespace kvl {

TKvlApplication::TKvlApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Name and organisation key the stored settings; the display name is left
    // unset because Qt would append it to every window caption.
    setOrganizationName(QStringLiteral("Orvanto"));
    setApplicationName(QStringLiteral("KVLConfig3"));
}

bool TKvlApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Dialogs().ShowMessage(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Dialogs().ShowMessage(QStringLiteral("Unexpected error"));
    }
    return false;
}

} // namespace kvl
