#include "host/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace kvl {

namespace {

// Shows the normal cursor while a box or dialog is open; override cursors stack,
// so the caller's hourglass comes back when the box closes.
class TNormalCursor {
public:
    TNormalCursor() {
        if (QApplication::overrideCursor())
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        else
            Pushed = false;
    }
    ~TNormalCursor() {
        if (Pushed)
            QApplication::restoreOverrideCursor();
    }
    TNormalCursor(const TNormalCursor&) = delete;
    TNormalCursor& operator=(const TNormalCursor&) = delete;

private:
    bool Pushed = true;
};

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

// "Korvelan Configuration (*.ini)" -> "ini"; "Any file (*)" -> none.
QString SuffixOf(const QString& filter) {
    const qsizetype start = filter.indexOf(QStringLiteral("(*."));
    if (start < 0)
        return {};
    const qsizetype end = filter.indexOf(QLatin1Char(')'), start);
    return filter.mid(start + 3, end < 0 ? -1 : end - start - 3);
}

QString FilterAt(const QString& filters, int index) {
    const QStringList list = filters.split(QStringLiteral(";;"));
    return index >= 0 && index < list.size() ? list[index] : QString();
}

// The window shown to the user: message boxes and file dialogs of Qt.
class TQtDialogs final : public TDialogs {
public:
protected:
    void DoShowMessageBox(const QString& caption, const QString& text, TIcon icon) override {
        QMessageBox box(ToQt(icon), caption, ForDisplay(text), QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }

    bool DoConfirm(const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::Warning, caption, ForDisplay(text), QMessageBox::Yes | QMessageBox::No,
                        QApplication::activeWindow());
        return box.exec() == QMessageBox::Yes;
    }

    bool DoConfirmDefaultNo(const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::Warning, caption, ForDisplay(text), QMessageBox::Yes | QMessageBox::No,
                        QApplication::activeWindow());
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    QString DoOpenFileName(const QString& filters, int selectedFilter) override {
        QString selected = FilterAt(filters, selectedFilter);
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), QString(), filters,
                                            &selected);
    }

    QString DoSaveFileName(const QString& filters, int selectedFilter, const QString& presetName) override {
        QString selected = FilterAt(filters, selectedFilter);
        QFileDialog dialog(QApplication::activeWindow(), QString(), presetName, filters);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(SuffixOf(selected));
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

void TDialogs::ShowMessageBox(const QString& caption, const QString& text, TIcon icon) {
    TNormalCursor normal;
    DoShowMessageBox(caption, text, icon);
}

bool TDialogs::Confirm(const QString& text, const QString& caption, TDefaultButton defaultButton) {
    TNormalCursor normal;
    return defaultButton == TDefaultButton::No ? DoConfirmDefaultNo(caption, text) : DoConfirm(caption, text);
}

QString TDialogs::OpenFileName(const QString& filters, int selectedFilter) {
    TNormalCursor normal;
    return DoOpenFileName(filters, selectedFilter);
}

QString TDialogs::SaveFileName(const QString& filters, int selectedFilter, const QString& presetName) {
    TNormalCursor normal;
    return DoSaveFileName(filters, selectedFilter, presetName);
}

TDialogs& Dialogs() {
    return *Current();
}

std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs) {
    std::unique_ptr<TDialogs> previous = std::move(Current());
    Current() = std::move(dialogs);
    return previous;
}

} // namespace kvl
