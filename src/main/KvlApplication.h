// The application object. Its event delivery is the program's general error
// display: an exception escaping any event handler is shown in a message box
// with OK, and the program carries on with the next event.
#pragma once

#include <QApplication>

namespace kvl {

class TKvlApplication : public QApplication {
public:
    // The application's title. Qt has no separate task-list title, and its
    // display name would be appended to every window caption, so the title is
    // kept here for the texts that name the application.
    static constexpr const char* kTitle = "KVL-Config3";

    TKvlApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kvl
