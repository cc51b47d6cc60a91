// The program's progress window in the role the bootloader upload gives a
// progress display.
#pragma once

#include "firmware/BootloaderUpload.h"
#include "widgets/ProgressForm.h"

namespace kvl {

class TUploadProgressWindow final : public TUploadProgress {
public:
    explicit TUploadProgressWindow(TProgress& window) : Window(window) {}

    void SetMaximum(int maximum) override { Window.SetMaximum(maximum); }
    void SetPosition(int position) override { Window.SetPosition(position); }
    void SetTask(const std::string& task) override { Window.SetTask(task); }
    void Repaint() override { Window.Repaint(); }

private:
    TProgress& Window;
};

} // namespace kvl
