#pragma once
// The program's icon, the skin's "ICON_MAIN", for the main window and the
// tray. ReadProgramIconAhead reads the file while the start waits on other
// work (it needs no window system); the first ProgramIcon takes that reading,
// later ones read the file again.

#include <QIcon>

void ReadProgramIconAhead();
QIcon ProgramIcon();
