#pragma once
// The language catalogue "Language.config" of the default data folder, and
// the choices made from it that need no window:
//
//   {"Language": [{"Language_ID": 510, "Language_name": "Simplified Chinese",
//                  "Language_file": "lan_cn.xml", "Language_text": "简体中文"}, ...]}
//
// Element i is the language with index i. A missing or damaged file reads
// as an empty catalogue; an element of the wrong kind, or a member missing
// or of the wrong kind, leaves that entry's member empty (no id).

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kLanguageCatalogueName = "Language.config";
// The id taken when none is stored (a first start).
inline constexpr uint32_t kDefaultLanguageId = 520;

struct LanguageEntry {
    std::optional<uint32_t> id;  // "Language_ID"
    QString name;                // "Language_name"
    QString file;                // "Language_file", a file of the skin folder
    QString caption;             // "Language_text", for the settings window's list
};

class CLanguageCatalogue {
public:
    // False (and an empty catalogue) when the file is missing or damaged.
    bool Load(const std::string& path);
    int Count() const { return static_cast<int>(entries_.size()); }
    const LanguageEntry* At(int index) const;  // null outside the catalogue
    int IndexOfId(uint32_t id) const;          // the first match, -1 when none

private:
    std::vector<LanguageEntry> entries_;
};

// The index to start with. settingsExist: the settings are there to read
// (else 0); storedId: the stored "LANGUAGE" value (kDefaultLanguageId when
// there is none). An id the catalogue lacks gives 0.
int SavedLanguageIndex(const CLanguageCatalogue& catalogue, bool settingsExist,
                       std::optional<uint32_t> storedId);

// The interface font face for switching from language index `previous` (-1:
// none yet) to `index`; none when the fonts stay as they are. The catalogue
// lists Simplified Chinese at 0, Traditional Chinese at 2 and Thai at 15,
// the languages that bring their own face.
std::optional<QString> InterfaceFaceFor(int index, int previous);

// True for the two Chinese languages, whose faces come from the large
// private font collections.
bool HasChineseFace(int index);

// A language text used as a format for one number: the first integer
// conversion (%d or %i, %u, with flags, width and l or ll) takes the number,
// "%%" is a percent sign, and anything else, another conversion included,
// shows as it is.
QString FormatWithNumber(const QString& format, long long number);
