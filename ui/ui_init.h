#pragma once
// Toolkit preparation at start-up: resource folder, "res.xml", and the
// toolkit's own control classes (the colour palette). The program's own
// control classes are then registered with CControlFactory.

#include <QString>

// folder: the skin folder (program folder + "skin/"). False when
// "res.xml" is missing or malformed; the toolkit stays usable.
bool PrepareToolkit(const QString& skinFolder);
