#pragma once
// Where layouts, images, style sheets and texts come from.
//
// The resource folder (program folder + "skin/") holds "res.xml", which
// maps resource names to files of that folder:
//   <Res>
//     <Item name="XML_MAIN" path="main.ui"/>
//     <Item name="menu.xml" path="menus/tray_menu.ui"/>
//   </Res>
// A name that "res.xml" lacks is taken as a path relative to the folder
// (backslashes read as slashes), so "XML\Menus\x.ui" works as well.
//
// Language files map text identifiers to texts:
//   <Language><Text id="mouse_key_left" value="Left button"/></Language>
// A control whose text is an identifier keeps the identifier in the dynamic
// property "textId" and shows its text; an identifier the language lacks is
// shown as it is.

#include <QHash>
#include <QString>

class QWidget;

class CResourceManager {
public:
    static CResourceManager& GetInstance();

    void SetResourcePath(const QString& folder);  // trailing slash optional
    QString GetResourcePath() const;              // always ends with '/'
    // Reads the index; false (and an empty index) when missing or malformed.
    bool LoadResource(const QString& indexFile = QStringLiteral("res.xml"));
    // Full path of the file a resource name or relative path stands for;
    // empty when no such file exists.
    QString FindFile(const QString& nameOrPath) const;

    // Texts. LoadLanguage reads a language file (name or path as above).
    bool LoadLanguage(const QString& nameOrPath);
    // Reads a language file for a LoadLanguage of it to come, while the
    // start waits on other work: that load takes these texts instead of
    // reading the file again, once. False when the file cannot be read.
    bool ReadLanguageAhead(const QString& nameOrPath);
    void SetLanguage(const QString& languageName);
    QString GetLanguage() const;
    // The text of an identifier; the identifier itself when unknown.
    QString GetText(const QString& identifier) const;
    bool HasText(const QString& identifier) const;
    // Re-resolves every "textId" under root (all top-level windows when null).
    void ReloadText(QWidget* root = nullptr);

    void Release();

private:
    CResourceManager() = default;

    QString m_folder;
    QHash<QString, QString> m_index;  // lower-case name -> relative path
    QHash<QString, QString> m_texts;
    QHash<QString, QHash<QString, QString>> m_textsReadAhead;  // by full path
    QString m_language;
};
