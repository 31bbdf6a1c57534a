#pragma once
// The interface fonts every window shares, by id. A layout picks one for a
// widget with the integer dynamic property "fontId"; the window's root (and
// so every widget without an id) takes the default font. Sizes are pixel
// heights at 96 DPI and scale with the window. The language code registers
// the table again with another face when the language needs one.

#include <QFont>
#include <QHash>
#include <QString>
#include <optional>

class QWidget;

class CFontTable {
public:
    static CFontTable& GetInstance();

    void AddFont(int id, const QString& face, int size, bool bold = false, bool underline = false,
                 bool italic = false);
    void SetDefaultFont(const QString& face, int size, bool bold = false, bool underline = false,
                        bool italic = false);
    void RemoveAllFonts();

    bool HasFont(int id) const;
    // The font of id at dpi; the default font (or the application's) for an
    // id the table lacks.
    QFont GetFont(int id, int dpi) const;
    // Gives root and the widgets of its tree that name a font id their
    // fonts at dpi. Without a default font the root keeps its own.
    void ApplyFonts(QWidget* root, int dpi) const;

private:
    CFontTable() = default;
    static QFont MakeFont(const QString& face, int size, bool bold, bool underline, bool italic);
    static QFont Scaled(QFont font, int dpi);

    QHash<int, QFont> m_fonts;
    std::optional<QFont> m_default;
};
