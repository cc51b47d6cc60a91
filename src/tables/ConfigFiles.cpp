#include "tables/ConfigFiles.h"

#include "host/Dialogs.h"
#include "host/ProgramVersion.h"
#include "model/FileAccess.h"
#include "model/FileError.h"
#include "tables/Tables.h"

#include <QFile>
#include <QFileInfo>

namespace kvl {

namespace {

std::string FileBytes(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

QString ErrorText(const std::exception& error) {
    return QString::fromLocal8Bit(error.what());
}

// The dialogs' default extension.
QString WithExtension(const QString& fileName) {
    if (fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QStringLiteral(".ini");
}

} // namespace

TLoadReport TConfigFiles::Load(const QString& fileName) {
    return Host.Config().Load(FileBytes(fileName));
}

TLoadReport TConfigFiles::Check(const QString& fileName) {
    TMuxConfig trial;
    return trial.Load(FileBytes(fileName));
}

void TConfigFiles::Save(const QString& fileName) {
    const TMuxIdentity identity = Host.Identity();
    Host.Config().Save(FileBytes(fileName),
                       std::string("Korvelan-3 Configuration Tool V") + GetProgramVersion(), identity.Device,
                       identity.FirmwareVersion, identity.Serial);
}

void TConfigFiles::SetCfgFileName(const QString& fileName) {
    CfgFileName = fileName;
    Host.ShowConfigFileName(fileName);
}

bool TConfigFiles::LoadAndWrite(const QString& fileName) {
    // A write-all that would be refused is refused before the file replaces anything.
    if (const QString refusal = Host.WriteAllRefusal(); !refusal.isEmpty()) {
        Dialogs().ShowMessage(refusal);
        return false;
    }
    try {
        const TLoadReport report = Check(fileName);
        if (!report.Empty()) {
            QString text = QStringLiteral("Not everything in ") + fileName + QStringLiteral(" can be used:");
            for (const std::string& note : report.All())
                text += QStringLiteral("\r") + QString::fromLatin1(note);
            if (!Dialogs().Confirm(text + QStringLiteral("\r\rWrite it to the multiplexer anyway?")))
                return false;
        }
        if (!Tables.ConfirmDiscardEdits())
            return false;
        (void)Load(fileName);
    } catch (const EFileError& error) {
        Dialogs().ShowMessage(ErrorText(error)); // nothing is sent: the model is unchanged
        return false;
    }
    SetCfgFileName(fileName);
    // The loaded tables are the device's only once the write-all has stored them.
    for (const auto table : {TTables::ttRouting, TTables::ttModbus, TTables::ttMob})
        Tables.MarkEdited(table);
    Host.UpdateView();
    Host.WriteAllSettings();
    return true;
}

void TConfigFiles::miLoadClick() {
    const QString fileName = Dialogs().OpenFileName(kOpenFilters, 0);
    if (!fileName.isEmpty())
        LoadAndWriteFile(fileName);
}

void TConfigFiles::LoadAndWriteFile(const QString& fileName) {
    LoadAndWrite(fileName);
}

bool TConfigFiles::SaveTo(const QString& fileName) {
    Tables.CommitEdits(); // a value typed into a cell is saved with the rest
    try {
        Save(fileName);
        return true;
    } catch (const EFileError& error) {
        Dialogs().ShowMessage(ErrorText(error));
        return false;
    }
}

QString TConfigFiles::AskSaveName() {
    return WithExtension(Dialogs().SaveFileName(kSaveFilters, SaveFilter, CfgFileName));
}

void TConfigFiles::miSaveClick() {
    if (!CfgFileName.isEmpty()) {
        if (!SaveTo(CfgFileName))
            return;
    } else {
        SaveFilter = kSaveFilterConfig;
        const QString fileName = AskSaveName();
        if (!fileName.isEmpty()) {
            if (!SaveTo(fileName))
                return;
            SetCfgFileName(fileName); // the name changes once the file holds the configuration
        }
    }
    Host.UpdateView();
}

void TConfigFiles::miSaveAsClick() {
    const QString fileName = AskSaveName();
    if (!fileName.isEmpty()) {
        if (!SaveTo(fileName))
            return;
        SetCfgFileName(fileName);
    }
    Host.UpdateView();
}

void TConfigFiles::HandleDroppedFiles(const QStringList& files) {
    for (const QString& fileName : files) {
        if (fileName.endsWith(QStringLiteral(".ini"))) {
            // The load sets all four tables, the data sources included.
            LoadAndWrite(fileName);
        } else if (fileName.endsWith(QStringLiteral(".txt"))) {
            Host.SendTextFile(fileName);
        }
        if (!Host.IsLinkOpen())
            return; // a write that lost the link ends the drop
    }
}

} // namespace kvl
