// The one seam through which every window shows message boxes, asks questions and
// chooses files. The program installs the Qt implementation; tests install one
// that records the texts and answers as told.
#pragma once

#include <QString>

#include <memory>

namespace kvl {

// The application title, the caption of every message box that has none of its own.
inline const QString kApplicationTitle = QStringLiteral("KVL-Config3");

class TDialogs {
public:
    enum class TIcon { Information, Warning, Error };
    // The button that Enter presses in a question.
    enum class TDefaultButton { Yes, No };

    virtual ~TDialogs() = default;

    // Each call shows the normal cursor for as long as its box or dialog is open,
    // whatever wait cursor the caller holds: no box is ever shown under the hourglass.

    // A message with an OK button, captioned with the application title. "\r" in
    // the text is a line break.
    void ShowMessage(const QString& text) { ShowMessageBox(kApplicationTitle, text, TIcon::Information); }
    // A message with an OK button, its own caption and icon.
    void ShowMessageBox(const QString& caption, const QString& text, TIcon icon);
    // A Yes/No question with a warning icon; true for Yes. A question whose
    // answer can harm the device has No as its default button.
    bool Confirm(const QString& text, const QString& caption = kApplicationTitle,
                 TDefaultButton defaultButton = TDefaultButton::Yes);
    // File dialogs. filters are "Description (*.ext)" entries joined with ";;";
    // selectedFilter is the index of the filter shown first. Empty when cancelled.
    QString OpenFileName(const QString& filters, int selectedFilter);
    QString SaveFileName(const QString& filters, int selectedFilter, const QString& presetName);

protected:
    virtual void DoShowMessageBox(const QString& caption, const QString& text, TIcon icon) = 0;
    virtual bool DoConfirm(const QString& caption, const QString& text) = 0;
    // A question with No as its default button; by default asked as any other.
    virtual bool DoConfirmDefaultNo(const QString& caption, const QString& text) {
        return DoConfirm(caption, text);
    }
    virtual QString DoOpenFileName(const QString& filters, int selectedFilter) = 0;
    virtual QString DoSaveFileName(const QString& filters, int selectedFilter, const QString& presetName) = 0;
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
