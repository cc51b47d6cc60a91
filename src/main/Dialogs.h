// The one seam through which every window shows message boxes, asks questions and
// chooses files. The program installs the Qt implementation; tests install one
// that records the texts and answers as told.
#pragma once

#include <QString>

#include <memory>

namespace kvl {

class TDialogs {
public:
    enum class TIcon { Information, Warning, Error };

    virtual ~TDialogs() = default;

    // A message with an OK button and the caption "KVLConfig3". "\r" in the text
    // is a line break.
    virtual void ShowMessage(const QString& text) = 0;
    // A message with an OK button, its own caption and icon.
    virtual void ShowMessageBox(const QString& caption, const QString& text, TIcon icon) = 0;
    // A Yes/No question with a warning icon and the caption "KVLConfig3"; true for Yes.
    virtual bool Confirm(const QString& text) = 0;
    // File dialogs. filters are "Description (*.ext)" entries joined with ";;";
    // selectedFilter is the index of the filter shown first. Empty when cancelled.
    virtual QString OpenFileName(const QString& filters, int selectedFilter) = 0;
    virtual QString SaveFileName(const QString& filters, int selectedFilter, const QString& presetName) = 0;
};

// The dialogs every window uses.
TDialogs& Dialogs();
// Replaces them (tests); returns the previous implementation.
std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs);

// The shared file filters of the main window's open and save dialogs.
inline const QString kOpenFilters = QStringLiteral("Korvelan Configuration (*.ini);;Korvelan Firmware Image "
                                                   "(*.kvl);;WiFi Firmware Image (*.bin);;Any file (*)");
inline const QString kSaveFilters = QStringLiteral(
    "Korvelan Configruation file (*.ini);;Log file (*.txt);;Intel HEX file (*.hex);;Any file (*)");
inline constexpr int kSaveFilterConfig = 0;
inline constexpr int kSaveFilterLog = 1;
inline constexpr int kSaveFilterHex = 2;

} // namespace kvl
