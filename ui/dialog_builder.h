#pragma once
// Builds a control tree from a layout: a Qt Designer ".ui" file found
// through CResourceManager, loaded at run time with QUiLoader.
//
// Class lookup for each <widget class="..."> of the file:
//   1. the Qt widget classes QUiLoader knows (QPushButton, QSlider, ...);
//   2. CControlFactory registrations (full or short name);
//   3. the callback's CreateControl(className, parent).
// When all three decline, that widget and its children are left out; a
// caller that looks the name up gets a false handle.
// Every standard control of the tree is hooked for notifications, and text
// identifiers are resolved through the loaded language.

#include <QString>
#include <QWidget>

class IDialogBuilderCallback {
public:
    virtual QWidget* CreateControl(const QString& className, QWidget* parent) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

class CDialogBuilder {
public:
    // nullptr when the file is missing or not a layout. The root's size is
    // the layout's size.
    static QWidget* Create(const QString& layout, IDialogBuilderCallback* callback = nullptr,
                           QWidget* parent = nullptr);
    // Builds a layout as the only content of `host`, filling it; the root, or
    // nullptr as Create.
    static QWidget* BuildInto(QWidget* host, const QString& layout);
};
