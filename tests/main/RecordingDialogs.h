// The dialogs seam for widget tests: records every message and answers
// questions and file dialogs from queues the test fills.
#pragma once

#include "host/Dialogs.h"

#include <QApplication>
#include <QCursor>
#include <QString>
#include <QStringList>

#include <deque>

namespace kvl::test {

class TRecordingDialogs final : public TDialogs {
public:
    struct TBox {
        QString Caption;
        QString Text;
        TIcon Icon;
        bool UnderWaitCursor; // the hourglass was showing while the box was open
    };

    void Reset() {
        Messages.clear();
        Boxes.clear();
        Questions.clear();
        QuestionCaptions.clear();
        NoByDefault.clear();
        ConfirmAnswers.clear();
        FileNames.clear();
    }

    QStringList Messages;
    std::deque<TBox> Boxes;
    QStringList Questions;
    QStringList QuestionCaptions;
    QStringList NoByDefault; // the questions asked with No as their default button
    std::deque<bool> ConfirmAnswers;
    std::deque<QString> FileNames; // an empty entry (or none) cancels the dialog
    QString LastFilters;
    int LastSelectedFilter = -1;

protected:
    void DoShowMessageBox(const QString& caption, const QString& text, TIcon icon) override {
        Boxes.push_back({caption, text, icon, UnderWaitCursor()});
        Messages.append(text);
    }
    bool DoConfirm(const QString& caption, const QString& text) override {
        Questions.append(text);
        QuestionCaptions.append(caption);
        if (ConfirmAnswers.empty())
            return false;
        const bool answer = ConfirmAnswers.front();
        ConfirmAnswers.pop_front();
        return answer;
    }
    bool DoConfirmDefaultNo(const QString& caption, const QString& text) override {
        NoByDefault.append(text);
        return DoConfirm(caption, text);
    }
    QString DoOpenFileName(const QString& filters, int selectedFilter) override {
        LastFilters = filters;
        LastSelectedFilter = selectedFilter;
        return NextFileName();
    }
    QString DoSaveFileName(const QString& filters, int selectedFilter, const QString&) override {
        LastFilters = filters;
        LastSelectedFilter = selectedFilter;
        return NextFileName();
    }

private:
    static bool UnderWaitCursor() {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::WaitCursor;
    }

    QString NextFileName() {
        if (FileNames.empty())
            return {};
        QString name = FileNames.front();
        FileNames.pop_front();
        return name;
    }
};

// The recording dialogs installed for the whole test run.
TRecordingDialogs& TestDialogs();

} // namespace kvl::test
