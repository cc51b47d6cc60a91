#include "RecordingDialogs.h"
#include "main/KvlApplication.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace kvl;
using namespace kvl::test;

namespace {

// An object whose event handler fails, as a handler that meets an error would.
class TFailingObject : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Multiplexer does not respond");
        return QObject::event(event);
    }
};

} // namespace

TEST(Application, AnErrorEscapingAHandlerIsShownAndTheProgramCarriesOn) {
    TestDialogs().Reset();
    TFailingObject object;
    QEvent failing(QEvent::User);
    QCoreApplication::sendEvent(&object, &failing);
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Multiplexer does not respond"});
    // The next event is delivered as usual.
    QEvent next(QEvent::User);
    QCoreApplication::sendEvent(&object, &next);
    EXPECT_EQ(TestDialogs().Messages.size(), 2);
}

TEST(Application, NamesForTheStoredSettings) {
    EXPECT_EQ(QCoreApplication::organizationName(), "Orvanto");
    EXPECT_EQ(QCoreApplication::applicationName(), "KVLConfig3");
    // No display name of its own: Qt would append it to every window caption.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}
