#include "main/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace kvl {

namespace {

const QString kCaption = QStringLiteral("KVLConfig3");

QString ForDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QMessageBox::Icon ToQt(TDialogs::TIcon icon) {
    switch (icon) {
    case TDialogs::TIcon::Warning:
        return QMessageBox::Warning;
    case TDialogs::TIcon::Error:
        return QMessageBox::Critical;
    default:
        return QMessageBox::Information;
    }
}

QString FilterAt(const QString& filters, int index) {
    const QStringList list = filters.split(QStringLiteral(";;"));
    return index >= 0 && index < list.size() ? list[index] : QString();
}

// The window shown to the user: message boxes and file dialogs of Qt.
class TQtDialogs final : public TDialogs {
public:
    void ShowMessage(const QString& text) override { ShowMessageBox(kCaption, text, TIcon::Information); }

    void ShowMessageBox(const QString& caption, const QString& text, TIcon icon) override {
        QMessageBox box(ToQt(icon), caption, ForDisplay(text), QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }

    bool Confirm(const QString& text) override {
        QMessageBox box(QMessageBox::Warning, kCaption, ForDisplay(text), QMessageBox::Yes | QMessageBox::No,
                        QApplication::activeWindow());
        return box.exec() == QMessageBox::Yes;
    }

    QString OpenFileName(const QString& filters, int selectedFilter) override {
        QString selected = FilterAt(filters, selectedFilter);
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), QString(), filters,
                                            &selected);
    }

    QString SaveFileName(const QString& filters, int selectedFilter, const QString& presetName) override {
        QString selected = FilterAt(filters, selectedFilter);
        QFileDialog dialog(QApplication::activeWindow(), QString(), presetName, filters);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("ini"));
        dialog.selectNameFilter(selected);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

std::unique_ptr<TDialogs>& Current() {
    static std::unique_ptr<TDialogs> dialogs = std::make_unique<TQtDialogs>();
    return dialogs;
}

} // namespace

TDialogs& Dialogs() {
    return *Current();
}

std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs) {
    std::unique_ptr<TDialogs> previous = std::move(Current());
    Current() = std::move(dialogs);
    return previous;
}

} // namespace kvl
