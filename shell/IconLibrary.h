#pragma once
// The program's own pictures, drawn as SVG: the toolbar images, the program
// icon and the document icon. Toolbar images draw their lines in the
// palette's text colour, so they stay clear on light and dark desktops,
// and are rendered at whatever size and pixel ratio they are shown in.

#include <QIcon>
#include <QString>

class QPalette;

namespace icons {

// A toolbar image by its name (the command table's), for the palette.
QIcon ToolbarIcon(const QString& name, const QPalette& palette);
QIcon ProgramIcon();
QIcon DocumentIcon();

}  // namespace icons
