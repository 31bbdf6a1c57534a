#include "services/interface_language.h"

#include "platform/folders.h"
#include "platform/private_fonts.h"
#include "platform/settings_file.h"
#include "platform/trace.h"
#include "ui/app_style.h"
#include "ui/dpi.h"
#include "ui/font_table.h"
#include "ui/resource_manager.h"
#include "ui/window_impl_base.h"

#include <QApplication>
#include <QFontDatabase>

#include <algorithm>

namespace {

struct InterfaceFont {
    int id;
    int size;
    bool bold;
    bool underline;
};

constexpr int kDefaultFontSize = 14;
constexpr InterfaceFont kInterfaceFonts[] = {
    {0, 15, false, false}, {1, 14, false, true}, {2, 18, false, false},  {3, 30, false, false},
    {4, 16, false, false}, {5, 20, false, false}, {6, 22, false, false}, {7, 14, false, false},
    {8, 12, false, false}, {9, 11, false, false}, {10, 10, false, false}, {11, 28, false, false},
    {50, 18, true, false},
};

// The faces the languages name come with the program's own fonts on their
// home system; here the free fonts of the same scripts stand in for them.
void RegisterFaceSubstitutes()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    QFont::insertSubstitutions(QStringLiteral("汉仪菱心体简"), {"Noto Sans CJK SC", "Noto Sans SC"});
    QFont::insertSubstitutions(QStringLiteral("Noto Sans CJK TC Regular"), {"Noto Sans CJK TC", "Noto Sans TC"});
    QFont::insertSubstitutions(QStringLiteral("Verdana Unicode MS"), {"Noto Sans Display", "Noto Sans", "DejaVu Sans"});
}

// The fonts of language `index` coming after `previous`: the Chinese
// collections when it shows them, the interface face when it changes.
void UseFontsOf(int index, int previous)
{
    if (HasChineseFace(index))
        LoadRemainingPrivateFonts();
    if (const std::optional<QString> face = InterfaceFaceFor(index, previous))
        RegisterInterfaceFonts(*face);
}

}  // namespace

CInterfaceLanguage::CInterfaceLanguage() : CInterfaceLanguage(DefaultDataFolder() + kLanguageCatalogueName) {}

CInterfaceLanguage::CInterfaceLanguage(std::string cataloguePath) : cataloguePath_(std::move(cataloguePath)) {}

bool CInterfaceLanguage::LoadFirstLanguage()
{
    return CResourceManager::GetInstance().LoadLanguage(kFirstLanguageFile);
}

const CLanguageCatalogue& CInterfaceLanguage::Catalogue() const
{
    if (!catalogue_) {
        catalogue_.emplace();
        if (!catalogue_->Load(cataloguePath_))
            TraceF("%s missing or damaged: language 0", cataloguePath_.c_str());
    }
    return *catalogue_;
}

int CInterfaceLanguage::ReadSavedIndex() const
{
    return SavedLanguageIndex(Catalogue(), SettingsFileExists(), ReadLanguageId());
}

void CInterfaceLanguage::ReadTextsAhead() const
{
    CResourceManager& resources = CResourceManager::GetInstance();
    resources.ReadLanguageAhead(kFirstLanguageFile);
    const LanguageEntry* saved = Catalogue().At(ReadSavedIndex());
    // The first language's texts are taken by its first load only.
    if (saved && resources.FindFile(saved->file) != resources.FindFile(kFirstLanguageFile))
        resources.ReadLanguageAhead(saved->file);
}

void CInterfaceLanguage::UseSavedLanguageFonts() const
{
    UseFontsOf(ReadSavedIndex(), current_);
}

bool CInterfaceLanguage::Apply(int index)
{
    if (index == current_)
        return false;
    UseFontsOf(index, current_);
    current_ = index;
    const LanguageEntry* entry = Catalogue().At(index);
    if (!entry) {
        TraceF("language %d: not in the catalogue", index);
        return true;
    }
    LoadTexts(*entry);
    if (entry->id && WriteLanguageId(*entry->id))
        Trace("写成功！");
    return true;
}

void CInterfaceLanguage::LoadTexts(const LanguageEntry& entry) const
{
    CResourceManager& resources = CResourceManager::GetInstance();
    resources.SetLanguage(entry.name);
    if (!resources.LoadLanguage(entry.file)) {
        TraceF("language file %s missing or damaged: English texts", qPrintable(entry.file));
        resources.LoadLanguage(kFallbackLanguageFile);
    }
    resources.ReloadText();
}

QString InterfaceFamily(const QString& face)
{
    RegisterFaceSubstitutes();
    const QStringList installed = QFontDatabase::families();
    const QStringList candidates = QStringList{face} + QFont::substitutes(face);
    for (const QString& candidate : candidates) {
        // By the font system's spelling: substitutes come back in lower case.
        const auto found = std::find_if(installed.begin(), installed.end(), [&candidate](const QString& family) {
            return family.compare(candidate, Qt::CaseInsensitive) == 0;
        });
        if (found != installed.end())
            return *found;
    }
    return face;
}

void RegisterInterfaceFonts(const QString& face)
{
    // The face by the name the font system has: a name it lacks sends every
    // text through a search of all the system's fonts.
    const QString family = InterfaceFamily(face);
    CFontTable& fonts = CFontTable::GetInstance();
    // The saved language's fonts are registered before the windows are
    // styled, which take them then: applying that language at window init
    // finds them in place.
    const bool inPlace = fonts.HasFont(0) && fonts.GetFont(0, kDefaultDpi).family() == family;
    if (!SetInterfaceFamily(family) && inPlace)
        return;
    fonts.RemoveAllFonts();
    fonts.SetDefaultFont(family, kDefaultFontSize);
    for (const InterfaceFont& font : kInterfaceFonts)
        fonts.AddFont(font.id, family, font.size, font.bold, font.underline);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<WindowImplBase*>(widget))
            window->ApplyFonts();
    }
}

QString NumberText(const QString& identifier, long long number)
{
    return FormatWithNumber(CResourceManager::GetInstance().GetText(identifier), number);
}
