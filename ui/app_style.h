#pragma once
// The style sheet every window and menu shares: the skin folder's base
// sheet ("STYLE_BASE"), led by a rule that gives every widget the interface
// family. The sheet sets sizes and weights itself, and a widget it styles
// keeps the family it had when first styled, so the interface family has to
// come from the sheet too: a font set on a window does not reach them.

#include <QString>

class QApplication;

// Reads the base sheet and styles the application with it. False when the
// sheet is missing (the toolkit's plain look then stays).
bool ApplyBaseStyle(QApplication& app);

// The family every widget shows its text in; the application is restyled
// only when it changes. Call it before the windows are built to style them
// once.
void SetInterfaceFamily(const QString& family);
