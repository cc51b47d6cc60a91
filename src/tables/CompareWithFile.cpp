#include "tables/CompareWithFile.h"

#include "host/Dialogs.h"
#include "model/ConfigDiff.h"
#include "model/FileAccess.h"
#include "model/FileError.h"
#include "tables/ConfigFiles.h"
#include "views/ConfigDiffDialog.h"

#include <QFile>

namespace kvl {

namespace {

// Load notes name values that were replaced by their defaults: the comparison
// shows those defaults, so the user learns why.
void ShowLoadNotes(const QString& fileName, const TLoadReport& report) {
    if (report.Empty())
        return;
    QString text = QStringLiteral("Not everything in ") + fileName + QStringLiteral(" was used:");
    for (const std::string& note : report.All())
        text += QStringLiteral("\r") + QString::fromLatin1(note);
    Dialogs().ShowMessage(text);
}

} // namespace

void TCompareWithFile::miCompareClick() {
    // A configuration read in progress or never understood is no device to compare with.
    if (!Host.IsLinkOpen() || Host.MuxInterfaceType() < 0 || Host.GetRXState() != TRXState::stNormal) {
        Dialogs().ShowMessage(
            QStringLiteral("The configuration of the multiplexer has not been read: nothing was compared."));
        return;
    }
    const QString fileName = Dialogs().OpenFileName(kOpenFilters, 0);
    if (!fileName.isEmpty())
        CompareWith(fileName);
}

void TCompareWithFile::CompareWith(const QString& fileName) {
    const std::string path = QFile::encodeName(fileName).toStdString();
    TMuxConfig file;
    try {
        // A file that does not exist would read as one without keys: all defaults.
        (void)ReadWholeFile(path);
        ShowLoadNotes(fileName, file.Load(path));
    } catch (const EFileError& error) {
        Dialogs().ShowMessage(QString::fromLocal8Bit(error.what()));
        return;
    }
    TConfigDiffDialog dialog(DialogParent);
    dialog.ShowComparison(fileName, CompareWithDevice(Host.Config(), file, Host.Capabilities()));
    if (dialog.exec() == TConfigDiffDialog::kWriteFile)
        Files.LoadAndWriteFile(fileName);
}

} // namespace kvl
