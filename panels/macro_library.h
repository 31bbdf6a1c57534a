#pragma once
// The macros of one device family: the list file "macro.config" and one
// ".mac" file per macro in the family's data folder. A key bound to a macro
// refers to it by its position in the list.

#include "panels/macro_event.h"

#include <optional>
#include <string>
#include <vector>

struct MacroEntry {
    std::wstring name;
    std::string guid;  // local creation time; the file is guid + ".mac"
};

constexpr size_t kMaxMacros = 50;
inline constexpr const char* kMacroListFileName = "macro.config";
inline constexpr const char* kMacroFileExtension = ".mac";
constexpr int kMacroFileVersion = 64;

enum class MacroRename { kRenamed, kNothingSelected, kStartsWithSpace, kEmpty, kTaken, kNotWritten };

enum class MacroImport {
    kImported,
    kEmptyPath,
    kListFull,
    kNameTooLong,  // file name of 15 characters or more, or title of 11 or more
    kTooLarge,     // over 16 MiB
    kNotAMacro,    // unreadable, or not an object with an "Events" array of steps
    kTooManyEvents,
    kNotWritten,
};

// The text identifier of the message shown for a refused import or rename;
// empty for success.
const char* MacroImportMessage(MacroImport result);
const char* MacroRenameMessage(MacroRename result);

enum class MacroSave { kSaved, kNoIdentifier, kNotWritten };

class CMacroLibrary {
public:
    // The family's data folder, ending in '/'.
    void SetFolder(const std::string& folder) { folder_ = folder; }
    const std::string& Folder() const { return folder_; }

    // Reads the list file; a missing or damaged file gives an empty list.
    void Load();
    const std::vector<MacroEntry>& Entries() const { return entries_; }
    std::vector<std::wstring> Names() const;
    std::string MacroPath(size_t index) const;

    // Appends "macro_N" with the smallest free N; nothing when the list is
    // full or the list file can't be written.
    std::optional<size_t> Add();
    MacroRename Rename(size_t index, const std::wstring& name);
    // Removes the entry and its file; false (and nothing changed) when the
    // list file can't be written.
    bool Remove(size_t index);
    // Checks the file before anything changes; on success the new entry is
    // the last one.
    MacroImport Import(const std::string& path);
    bool Export(size_t index, const std::string& path) const;

    std::vector<MacroEvent> ReadEvents(size_t index) const;
    MacroSave SaveEvents(size_t index, const std::vector<MacroEvent>& events) const;

private:
    bool NameTaken(const std::wstring& name) const;
    std::string NewGuid() const;
    bool WriteList(const std::vector<MacroEntry>& entries) const;
    std::string ListPath() const { return folder_ + kMacroListFileName; }

    std::string folder_;
    std::vector<MacroEntry> entries_;
};
