#pragma once
// The style sheet every window and menu shares: the skin folder's base
// sheet ("STYLE_BASE"). Its fonts and colours reach the widgets inside as
// fonts and palettes set on them would: the sheet gives sizes and weights,
// and every text takes its family from the application font, so a language
// that changes the face changes it everywhere at once without styling the
// windows again.

#include <QString>

class QApplication;

// Reads the base sheet and styles the application with it. False when the
// sheet is missing (the toolkit's plain look then stays).
bool ApplyBaseStyle(QApplication& app);

// The family every widget shows its text in: the application font's.
// False when it was that family already.
bool SetInterfaceFamily(const QString& family);
