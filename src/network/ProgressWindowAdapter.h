// The program's progress window (the one the firmware update shows) in the role
// the network dialogs give a progress window.
#pragma once

#include "network/NetworkProgress.h"
#include "widgets/ProgressForm.h"

namespace kvl {

class TProgressWindowAdapter final : public TNetworkProgress {
public:
    explicit TProgressWindowAdapter(TProgress& window) : Window(window) {}

    void Start(const QString& caption, int maximum) override {
        Window.Start(caption, QString());
        Window.SetMaximum(maximum);
    }
    void SetPosition(int position) override {
        Window.SetPosition(position);
        Window.Repaint();
    }
    void Finish() override { Window.hide(); }

private:
    TProgress& Window;
};

} // namespace kvl
