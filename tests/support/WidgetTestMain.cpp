// Widget tests run under Qt's offscreen platform, with the stored settings in a
// scratch folder and every message box answered by the recording dialogs.
#include "main/KvlApplication.h"
#include "main/RecordingDialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace kvl::test {

namespace {
TRecordingDialogs* Installed = nullptr;
}

TRecordingDialogs& TestDialogs() {
    return *Installed;
}

} // namespace kvl::test

int main(int argc, char** argv) {
    QTemporaryDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    kvl::TKvlApplication app(argc, argv);
    auto dialogs = std::make_unique<kvl::test::TRecordingDialogs>();
    kvl::test::Installed = dialogs.get();
    kvl::SetDialogs(std::move(dialogs));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
