// The dialogs seam for widget tests: records every message and answers
// questions and file dialogs from queues the test fills.
#pragma once

#include "main/Dialogs.h"

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
    };

    void ShowMessage(const QString& text) override { Messages.append(text); }
    void ShowMessageBox(const QString& caption, const QString& text, TIcon icon) override {
        Boxes.push_back({caption, text, icon});
        Messages.append(text);
    }
    bool Confirm(const QString& text) override {
        Questions.append(text);
        if (ConfirmAnswers.empty())
            return false;
        const bool answer = ConfirmAnswers.front();
        ConfirmAnswers.pop_front();
        return answer;
    }
    QString OpenFileName(const QString& filters, int selectedFilter) override {
        LastFilters = filters;
        LastSelectedFilter = selectedFilter;
        return NextFileName();
    }
    QString SaveFileName(const QString& filters, int selectedFilter, const QString&) override {
        LastFilters = filters;
        LastSelectedFilter = selectedFilter;
        return NextFileName();
    }

    void Reset() {
        Messages.clear();
        Boxes.clear();
        Questions.clear();
        ConfirmAnswers.clear();
        FileNames.clear();
    }

    QStringList Messages;
    std::deque<TBox> Boxes;
    QStringList Questions;
    std::deque<bool> ConfirmAnswers;
    std::deque<QString> FileNames; // an empty entry (or none) cancels the dialog
    QString LastFilters;
    int LastSelectedFilter = -1;

private:
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
