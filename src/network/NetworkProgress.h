// What the network dialogs need of the program's progress window: a caption with
// an empty task label, a bar from 0 to a maximum, repainted at every step.
#pragma once

#include <QString>

namespace kvl {

class TNetworkProgress {
public:
    virtual ~TNetworkProgress() = default;
    virtual void Start(const QString& caption, int maximum) = 0;
    virtual void SetPosition(int position) = 0; // repaints
    virtual void Finish() = 0;                  // hides
};

} // namespace kvl
