// Drives modal dialogs from a test: the action runs once the dialog is shown,
// inside its event loop, as a user's input would.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace kvl::test {

inline void WhenShown(QDialog& dialog, std::function<void()> action) {
    auto* poll = new QTimer(&dialog);
    QObject::connect(poll, &QTimer::timeout, &dialog, [poll, &dialog, action = std::move(action)] {
        if (!dialog.isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start(5);
}

template <typename T>
T* Find(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

inline void Type(QWidget& parent, const char* name, const QString& text) {
    auto* edit = Find<QLineEdit>(parent, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

inline void Press(QWidget& parent, const char* name) {
    QTest::mouseClick(Find<QPushButton>(parent, name), Qt::LeftButton);
}

} // namespace kvl::test
