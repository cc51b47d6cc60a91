#include "main/KvlApplication.h"

#include "host/Dialogs.h"
#include "host/ProgramIcon.h"

// The images are compiled into the window library; a static library's resources
// are registered only when something refers to them.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace kvl {

TKvlApplication::TKvlApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Name and organisation key the stored settings; the display name is left
    // unset because Qt would append it to every window caption.
    InitResources();
    setOrganizationName(QStringLiteral("Orvanto"));
    setApplicationName(QStringLiteral("KVLConfig3"));
    // The task bar and the window switcher show the program's own icon.
    setWindowIcon(ProgramIcon());
    setDesktopFileName(QString::fromLatin1(kDesktopFileName));
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
