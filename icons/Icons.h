#pragma once

#include <QIcon>

// The images on the window's buttons, drawn as SVG so that they stay sharp
// at any scale factor.
enum class ButtonImage {
    AddFiles,
    Reset,
    ClearList,
    ApplyRename,
    Exit,
    ApplyChange,
};

QIcon buttonIcon(ButtonImage image);

// The program's own icon, the same drawing the desktop menus show.
QIcon applicationIcon();
