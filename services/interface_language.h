#pragma once
// The interface language: which one the program starts with, switching to
// another (texts, fonts, the stored choice), and texts with a number.
//
//   CInterfaceLanguage language;        // catalogue of the default data folder
//   language.LoadFirstLanguage();       // before the windows' texts are shown
//   language.Apply(language.ReadSavedIndex());
//   ...
//   ShowMessageBox(this, {}, NumberText("message_text_16", count), dpi, false, false);
//
// The language files lie in the skin folder. A language whose file is
// missing shows the English texts; an identifier a file lacks shows as the
// identifier itself.

#include "services/language_catalogue.h"

#include <optional>
#include <string>

inline constexpr const char* kFirstLanguageFile = "lan_cn.xml";
inline constexpr const char* kFallbackLanguageFile = "lan_en.xml";

class CInterfaceLanguage {
public:
    CInterfaceLanguage();
    explicit CInterfaceLanguage(std::string cataloguePath);

    // The texts shown until a language is applied.
    bool LoadFirstLanguage();
    // The index of the stored choice (see SavedLanguageIndex).
    int ReadSavedIndex() const;
    // Reads the files of the first and the saved language ahead (see
    // CResourceManager::ReadLanguageAhead), for a start that would
    // otherwise wait idle.
    void ReadTextsAhead() const;
    // Switches to the language of `index`: the interface fonts when the
    // language needs another face, the texts of every window, and the stored
    // choice (the settings file is created if need be). False, and nothing
    // done, when `index` is the current one.
    bool Apply(int index);
    // Before any window is styled: the interface fonts of the saved
    // language, so the windows are styled once with its face. Apply at
    // window init then finds them in place.
    void UseSavedLanguageFonts() const;
    int CurrentIndex() const { return current_; }

private:
    // Read once, when first needed.
    const CLanguageCatalogue& Catalogue() const;
    void LoadTexts(const LanguageEntry& entry) const;

    std::string cataloguePath_;
    mutable std::optional<CLanguageCatalogue> catalogue_;
    int current_ = -1;
};

// Registers the interface fonts with `face` and gives them to every window.
void RegisterInterfaceFonts(const QString& face);

// The installed family that shows `face`: the face itself, or the first of
// its stand-ins the font system has; the face when none is there.
QString InterfaceFamily(const QString& face);

// The text of `identifier` in the current language used as the format of
// one number (see FormatWithNumber).
QString NumberText(const QString& identifier, long long number);
