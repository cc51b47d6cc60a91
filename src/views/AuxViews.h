// The auxiliary windows the main window keeps for its whole life: the
// statistics window beside it and the About box.
#pragma once

#include "views/About.h"
#include "views/Statistics.h"

namespace kvl {

struct TAuxViews {
    explicit TAuxViews(QWidget* mainWindow) : Stats(mainWindow), AboutBox(mainWindow) {}

    TStats Stats;
    TAboutBox AboutBox;
};

} // namespace kvl
