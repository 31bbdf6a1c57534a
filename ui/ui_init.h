#pragma once
// Toolkit preparation at start-up: resource folder, "res.xml", the
// toolkit's own control classes (the colour palette) and the program's
// custom controls (ui/controls). Pages and panels register their own
// classes with CControlFactory.

#include <QString>

// folder: the skin folder (program folder + "skin/"). False when
// "res.xml" is missing or malformed; the toolkit stays usable.
bool PrepareToolkit(const QString& skinFolder);
