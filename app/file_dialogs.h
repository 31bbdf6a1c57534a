#pragma once
// The open and save dialogs of profile, macro and recoil files.

class QFileDialog;

enum class FileDialogMode { Open, Save };
enum class FileKind { Profile, Macro, Recoil };

// Filter and default extension of the kind ("json", "mac", "shoot"); an
// open dialog takes an existing file only.
void SetUpFileDialog(QFileDialog& chooser, FileDialogMode mode, FileKind kind);
