#include "services/language_catalogue.h"

#include "profiles/json_access.h"
#include "profiles/json_file.h"

#include <QRegularExpression>

#include <array>
#include <limits>

static std::optional<uint32_t> IdOf(const Json::Value& value)
{
    if (!value.isIntegral() || value.asLargestInt() < 0 ||
        value.asLargestUInt() > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<uint32_t>(value.asLargestUInt());
}

static QString TextMember(const Json::Value& element, const char* key)
{
    return QString::fromStdString(TextOf(MemberOf(element, key)));
}

bool CLanguageCatalogue::Load(const std::string& path)
{
    entries_.clear();
    const Json::Value document = ReadJsonFile(path);
    const Json::Value& languages = MemberOf(document, "Language");
    if (!languages.isArray())
        return false;
    for (const Json::Value& element : languages) {
        entries_.push_back({IdOf(MemberOf(element, "Language_ID")), TextMember(element, "Language_name"),
                            TextMember(element, "Language_file"), TextMember(element, "Language_text")});
    }
    return true;
}

const LanguageEntry* CLanguageCatalogue::At(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return &entries_[static_cast<size_t>(index)];
}

int CLanguageCatalogue::IndexOfId(uint32_t id) const
{
    for (int i = 0; i < Count(); ++i) {
        if (entries_[static_cast<size_t>(i)].id == id)
            return i;
    }
    return -1;
}

int SavedLanguageIndex(const CLanguageCatalogue& catalogue, bool settingsExist,
                       std::optional<uint32_t> storedId)
{
    if (!settingsExist)
        return 0;
    const int index = catalogue.IndexOfId(storedId.value_or(kDefaultLanguageId));
    return index < 0 ? 0 : index;
}

namespace {

constexpr int kSimplifiedChinese = 0;
constexpr int kTraditionalChinese = 2;
constexpr int kThai = 15;

}  // namespace

bool HasChineseFace(int index)
{
    return index == kSimplifiedChinese || index == kTraditionalChinese;
}

std::optional<QString> InterfaceFaceFor(int index, int previous)
{
    if (index == kThai)
        return QStringLiteral("Noto Sans Thai");
    if (index == kSimplifiedChinese)
        return QStringLiteral("汉仪菱心体简");
    if (index == kTraditionalChinese)
        return QStringLiteral("Noto Sans CJK TC Regular");
    static constexpr std::array<int, 4> kOwnFaceOrNone = {kThai, kSimplifiedChinese, kTraditionalChinese, -1};
    for (int before : kOwnFaceOrNone) {
        if (previous == before)
            return QStringLiteral("Verdana Unicode MS");
    }
    return std::nullopt;
}

QString FormatWithNumber(const QString& format, long long number)
{
    // Flags and a width of at most two digits: a text cannot ask for a
    // field of millions of characters.
    static const QRegularExpression kConversion(
        QStringLiteral("%%|%([-+ 0]*[0-9]{0,2})(?:ll|l)?[diu]"));
    QString result;
    bool numberUsed = false;
    qsizetype copied = 0;
    for (auto it = kConversion.globalMatch(format); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += format.mid(copied, match.capturedStart() - copied);
        copied = match.capturedEnd();
        if (match.captured() == QLatin1String("%%")) {
            result += QLatin1Char('%');
        } else if (!numberUsed) {
            const std::string conversion = "%" + match.captured(1).toStdString() + "lld";
            result += QString::asprintf(conversion.c_str(), number);
            numberUsed = true;
        } else {
            result += match.captured();
        }
    }
    return result + format.mid(copied);
}
