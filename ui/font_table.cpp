#include "ui/font_table.h"

#include "ui/dpi.h"

#include <QApplication>
#include <QWidget>

static constexpr const char* kFontIdProperty = "fontId";

CFontTable& CFontTable::GetInstance()
{
    static CFontTable table;
    return table;
}

QFont CFontTable::MakeFont(const QString& face, int size, bool bold, bool underline, bool italic)
{
    QFont font(face);
    font.setPixelSize(size);
    font.setBold(bold);
    font.setUnderline(underline);
    font.setItalic(italic);
    return font;
}

QFont CFontTable::Scaled(QFont font, int dpi)
{
    font.setPixelSize(ScaleForDpi(font.pixelSize(), dpi));
    return font;
}

void CFontTable::AddFont(int id, const QString& face, int size, bool bold, bool underline, bool italic)
{
    m_fonts.insert(id, MakeFont(face, size, bold, underline, italic));
}

void CFontTable::SetDefaultFont(const QString& face, int size, bool bold, bool underline, bool italic)
{
    m_default = MakeFont(face, size, bold, underline, italic);
}

void CFontTable::RemoveAllFonts()
{
    m_fonts.clear();
    m_default.reset();
}

bool CFontTable::HasFont(int id) const
{
    return m_fonts.contains(id);
}

QFont CFontTable::GetFont(int id, int dpi) const
{
    const auto font = m_fonts.constFind(id);
    if (font != m_fonts.constEnd())
        return Scaled(*font, dpi);
    return m_default ? Scaled(*m_default, dpi) : QApplication::font();
}

void CFontTable::ApplyFonts(QWidget* root, int dpi) const
{
    if (!root)
        return;
    if (m_default)
        root->setFont(Scaled(*m_default, dpi));
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        bool isNumber = false;
        const int id = widget->property(kFontIdProperty).toInt(&isNumber);
        if (isNumber && m_fonts.contains(id))
            widget->setFont(Scaled(m_fonts.value(id), dpi));
    }
}
