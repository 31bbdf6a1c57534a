#include "ui/resource_manager.h"

#include "platform/trace.h"
#include "ui/widget_text.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <QXmlStreamReader>

namespace {

QString NormalisedRelative(const QString& nameOrPath)
{
    QString path = nameOrPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

// Reads <Root><Tag a="..." b="..."/>...</Root> into pairs; false when the
// file is missing or not well-formed.
bool ReadPairs(const QString& file, const QString& tag, const QString& keyAttribute,
               const QString& valueAttribute, QHash<QString, QString>& out, bool lowerKeys)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    QHash<QString, QString> pairs;
    QXmlStreamReader xml(&input);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != tag)
            continue;
        const QString key = xml.attributes().value(keyAttribute).toString();
        if (!key.isEmpty())
            pairs.insert(lowerKeys ? key.toLower() : key, xml.attributes().value(valueAttribute).toString());
    }
    if (xml.hasError()) {
        TraceF("%s: %s", qPrintable(file), qPrintable(xml.errorString()));
        return false;
    }
    out = std::move(pairs);
    return true;
}

}  // namespace

CResourceManager& CResourceManager::GetInstance()
{
    static CResourceManager manager;
    return manager;
}

void CResourceManager::SetResourcePath(const QString& folder)
{
    m_folder = NormalisedRelative(folder);
    if (!m_folder.isEmpty() && !m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
}

QString CResourceManager::GetResourcePath() const
{
    return m_folder;
}

bool CResourceManager::LoadResource(const QString& indexFile)
{
    m_index.clear();
    return ReadPairs(m_folder + indexFile, QStringLiteral("Item"), QStringLiteral("name"),
                     QStringLiteral("path"), m_index, true);
}

QString CResourceManager::FindFile(const QString& nameOrPath) const
{
    if (nameOrPath.isEmpty())
        return {};
    const QString relative = NormalisedRelative(m_index.value(nameOrPath.toLower(), nameOrPath));
    const QString path = QFileInfo(relative).isAbsolute() ? relative : m_folder + relative;
    return QFileInfo(path).isFile() ? path : QString();
}

static bool ReadTexts(const QString& file, QHash<QString, QString>& out)
{
    return ReadPairs(file, QStringLiteral("Text"), QStringLiteral("id"), QStringLiteral("value"), out, false);
}

bool CResourceManager::LoadLanguage(const QString& nameOrPath)
{
    const QString file = FindFile(nameOrPath);
    if (file.isEmpty())
        return false;
    if (const auto readAhead = m_textsReadAhead.constFind(file); readAhead != m_textsReadAhead.cend()) {
        m_texts = *readAhead;
        m_textsReadAhead.erase(readAhead);
        return true;
    }
    return ReadTexts(file, m_texts);
}

bool CResourceManager::ReadLanguageAhead(const QString& nameOrPath)
{
    const QString file = FindFile(nameOrPath);
    QHash<QString, QString> texts;
    if (file.isEmpty() || !ReadTexts(file, texts))
        return false;
    m_textsReadAhead.insert(file, std::move(texts));
    return true;
}

void CResourceManager::SetLanguage(const QString& languageName)
{
    m_language = languageName;
}

QString CResourceManager::GetLanguage() const
{
    return m_language;
}

QString CResourceManager::GetText(const QString& identifier) const
{
    return m_texts.value(identifier, identifier);
}

bool CResourceManager::HasText(const QString& identifier) const
{
    return m_texts.contains(identifier);
}

void CResourceManager::ReloadText(QWidget* root)
{
    if (root) {
        ResolveTextIds(root);
        return;
    }
    for (QWidget* window : QApplication::topLevelWidgets())
        ResolveTextIds(window);
}

void CResourceManager::Release()
{
    m_index.clear();
    m_texts.clear();
    m_textsReadAhead.clear();
    m_language.clear();
}
