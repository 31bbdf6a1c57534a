#include "panels/macro_library.h"

#include "profiles/atomic_file.h"
#include "profiles/json_file.h"

#include <QString>

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

namespace {

constexpr const char* kListKey = "MacroInfo";
constexpr const char* kNameKey = "MacroName";
constexpr const char* kGuidKey = "Guid";
constexpr const char* kVersionKey = "Version";
constexpr const wchar_t* kNewNamePattern = L"macro_";
constexpr size_t kMaxImportFileName = 14;
constexpr size_t kMaxImportTitle = 10;

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return QString::fromStdWString(a).compare(QString::fromStdWString(b), Qt::CaseInsensitive) == 0;
}

std::wstring Trimmed(const std::wstring& text)
{
    return QString::fromStdWString(text).trimmed().toStdWString();
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every step an object whose fields have the kinds a macro file gives them.
bool IsMacroStep(const Json::Value& step)
{
    if (!step.isObject())
        return false;
    const Json::Value& action = step[kEventAction];
    const Json::Value& delay = step[kEventDelay];
    return action.isString() && (action.asString() == kActionDown || action.asString() == kActionUp) &&
           step[kEventButton].isInt() && step[kEventType].isInt() && (delay.isString() || delay.isInt());
}

MacroImport CheckImportFile(const std::string& path, std::string& bytes)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > static_cast<uintmax_t>(kMaxJsonFileSize))
        return MacroImport::kTooLarge;
    bytes = ReadWholeFile(path);
    const Json::Value document = ParseJsonText(bytes);
    if (!document.isObject() || !document[kEventsKey].isArray())
        return MacroImport::kNotAMacro;
    const Json::Value& events = document[kEventsKey];
    if (events.size() > kMaxMacroEvents)
        return MacroImport::kTooManyEvents;
    for (const Json::Value& step : events)
        if (!IsMacroStep(step))
            return MacroImport::kNotAMacro;
    return MacroImport::kImported;
}

}  // namespace

const char* MacroImportMessage(MacroImport result)
{
    switch (result) {
    case MacroImport::kListFull:
        return "message_text_33";
    case MacroImport::kNameTooLong:
        return "message_text_37";
    case MacroImport::kTooManyEvents:
        return "message_text_39";
    case MacroImport::kTooLarge:
    case MacroImport::kNotAMacro:
        return "message_text_macro_import";
    case MacroImport::kNotWritten:
        return "message_text_file_write";
    case MacroImport::kImported:
    case MacroImport::kEmptyPath:
        break;
    }
    return "";
}

const char* MacroRenameMessage(MacroRename result)
{
    switch (result) {
    case MacroRename::kStartsWithSpace:
        return "message_text_25";
    case MacroRename::kEmpty:
        return "message_text_5_1";
    case MacroRename::kTaken:
        return "message_text_5";
    case MacroRename::kNotWritten:
        return "message_text_file_write";
    case MacroRename::kRenamed:
    case MacroRename::kNothingSelected:
        break;
    }
    return "";
}

void CMacroLibrary::Load()
{
    entries_.clear();
    if (folder_.empty())
        return;
    const Json::Value document = ReadJsonFile(ListPath());
    if (!document.isObject() || !document[kListKey].isArray())
        return;
    for (const Json::Value& element : document[kListKey]) {
        const Json::Value& name = element[kNameKey];
        const Json::Value& guid = element[kGuidKey];
        entries_.push_back({Utf8ToWide(name.isString() ? name.asString() : ""),
                            guid.isString() ? guid.asString() : ""});
    }
}

std::vector<std::wstring> CMacroLibrary::Names() const
{
    std::vector<std::wstring> names;
    for (const MacroEntry& entry : entries_)
        names.push_back(entry.name);
    return names;
}

std::string CMacroLibrary::MacroPath(size_t index) const
{
    return folder_ + entries_.at(index).guid + kMacroFileExtension;
}

bool CMacroLibrary::NameTaken(const std::wstring& name) const
{
    for (const MacroEntry& entry : entries_)
        if (SameName(entry.name, name))
            return true;
    return false;
}

std::string CMacroLibrary::NewGuid() const
{
    // Two macros made within one millisecond would share a file.
    for (;;) {
        const std::string guid = MakeTimeStampName();
        bool taken = std::filesystem::exists(folder_ + guid + kMacroFileExtension);
        for (const MacroEntry& entry : entries_)
            taken = taken || entry.guid == guid;
        if (!taken)
            return guid;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool CMacroLibrary::WriteList(const std::vector<MacroEntry>& entries) const
{
    Json::Value document = ReadJsonFile(ListPath());
    if (!document.isObject())
        document = Json::Value(Json::objectValue);
    Json::Value list(Json::arrayValue);
    const Json::Value& old = document[kListKey];
    for (Json::ArrayIndex i = 0; i < entries.size(); ++i) {
        // Keys of the old element at this place stay.
        Json::Value element = old.isArray() && i < old.size() && old[i].isObject() ? old[i] : Json::Value();
        element[kNameKey] = WideToUtf8(entries[i].name);
        element[kGuidKey] = entries[i].guid;
        list.append(element);
    }
    document[kListKey] = list;
    return WriteJsonFile(ListPath(), document) == 0;
}

std::optional<size_t> CMacroLibrary::Add()
{
    if (entries_.size() >= kMaxMacros)
        return std::nullopt;
    std::wstring name;
    for (int n = 1; name.empty() || NameTaken(name); ++n)
        name = kNewNamePattern + std::to_wstring(n);
    std::vector<MacroEntry> entries = entries_;
    entries.push_back({name, NewGuid()});
    if (!WriteList(entries))
        return std::nullopt;
    entries_ = std::move(entries);
    return entries_.size() - 1;
}

MacroRename CMacroLibrary::Rename(size_t index, const std::wstring& name)
{
    if (index >= entries_.size())
        return MacroRename::kNothingSelected;
    if (!name.empty() && name.front() == L' ')
        return MacroRename::kStartsWithSpace;
    if (Trimmed(name).empty())
        return MacroRename::kEmpty;
    if (NameTaken(name))
        return MacroRename::kTaken;
    std::vector<MacroEntry> entries = entries_;
    entries[index].name = name;
    if (!WriteList(entries))
        return MacroRename::kNotWritten;
    entries_ = std::move(entries);
    return MacroRename::kRenamed;
}

bool CMacroLibrary::Remove(size_t index)
{
    if (index >= entries_.size())
        return false;
    const std::string guid = entries_[index].guid;
    const std::string path = MacroPath(index);
    std::vector<MacroEntry> entries = entries_;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    if (!WriteList(entries))
        return false;
    entries_ = std::move(entries);
    std::error_code ignored;  // a file already gone is what we want
    if (!guid.empty())
        std::filesystem::remove(path, ignored);
    return true;
}

MacroImport CMacroLibrary::Import(const std::string& path)
{
    if (path.empty())
        return MacroImport::kEmptyPath;
    if (Utf8ToWide(FileNameOf(path)).size() > kMaxImportFileName ||
        Utf8ToWide(FileTitleOf(path)).size() > kMaxImportTitle)
        return MacroImport::kNameTooLong;
    if (entries_.size() >= kMaxMacros)
        return MacroImport::kListFull;
    std::string bytes;
    if (const MacroImport refused = CheckImportFile(path, bytes); refused != MacroImport::kImported)
        return refused;

    const std::wstring title = Utf8ToWide(FileTitleOf(path));
    std::wstring name = title;
    for (int counter = 1; NameTaken(name); ++counter)
        name += std::to_wstring(counter);
    std::vector<MacroEntry> entries = entries_;
    entries.push_back({name, NewGuid()});
    const std::string macroPath = folder_ + entries.back().guid + kMacroFileExtension;
    if (!WriteFileAtomically(macroPath, bytes))
        return MacroImport::kNotWritten;
    if (!WriteList(entries)) {
        std::error_code ignored;
        std::filesystem::remove(macroPath, ignored);
        return MacroImport::kNotWritten;
    }
    entries_ = std::move(entries);
    return MacroImport::kImported;
}

bool CMacroLibrary::Export(size_t index, const std::string& path) const
{
    if (index >= entries_.size() || path.empty())
        return false;
    std::error_code error;
    std::filesystem::copy_file(MacroPath(index), path, std::filesystem::copy_options::overwrite_existing, error);
    return !error;
}

std::vector<MacroEvent> CMacroLibrary::ReadEvents(size_t index) const
{
    if (index >= entries_.size() || entries_[index].guid.empty())
        return {};
    return EventsOfDocument(ReadJsonFile(MacroPath(index)));
}

MacroSave CMacroLibrary::SaveEvents(size_t index, const std::vector<MacroEvent>& events) const
{
    if (index >= entries_.size() || entries_[index].guid.empty())
        return MacroSave::kNoIdentifier;
    Json::Value document(Json::objectValue);
    document[kNameKey] = WideToUtf8(entries_[index].name);
    document[kGuidKey] = entries_[index].guid;
    Json::Value list(Json::arrayValue);
    for (const MacroEvent& event : events)
        list.append(MacroEventToJson(event));
    document[kEventsKey] = list;
    document[kVersionKey] = kMacroFileVersion;
    return WriteJsonFile(MacroPath(index), document) == 0 ? MacroSave::kSaved : MacroSave::kNotWritten;
}
