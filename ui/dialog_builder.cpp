#include "ui/dialog_builder.h"

#include "platform/trace.h"
#include "ui/control.h"
#include "ui/control_factory.h"
#include "ui/notify.h"
#include "ui/resource_manager.h"
#include "ui/widget_text.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QSet>
#include <QUiLoader>

#include <memory>

namespace {

class LayoutLoader : public QUiLoader {
public:
    explicit LayoutLoader(IDialogBuilderCallback* callback)
        : m_callback(callback)
    {
        const QStringList qtClasses = availableWidgets();
        m_qtClasses = QSet<QString>(qtClasses.begin(), qtClasses.end());
    }

    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        QWidget* widget = CreateByClass(className, parent);
        if (!widget) {
            TraceF("layout: no control of class %s for \"%s\"", qPrintable(className), qPrintable(name));
            return nullptr;
        }
        widget->setObjectName(name);
        return widget;
    }

private:
    QWidget* CreateByClass(const QString& className, QWidget* parent)
    {
        if (m_qtClasses.contains(className))
            return QUiLoader::createWidget(className, parent, {});
        if (QWidget* widget = CControlFactory::GetInstance().CreateControl(className, parent))
            return widget;
        return m_callback ? m_callback->CreateControl(className, parent) : nullptr;
    }

    IDialogBuilderCallback* m_callback;
    QSet<QString> m_qtClasses;
};

// QUiLoader loads every designer plugin of the library paths as it is
// constructed, and one of the system's pulls in Qt Quick and QML. Our own
// controls are made in code, so the loader is constructed with no library
// paths to look in; they are back before anything else may need them.
std::unique_ptr<LayoutLoader> MakeLayoutLoader(IDialogBuilderCallback* callback)
{
    const QStringList libraryPaths = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({});
    auto loader = std::make_unique<LayoutLoader>(callback);
    QCoreApplication::setLibraryPaths(libraryPaths);
    return loader;
}

// A control's "bkcolor" property in a layout (a swatch, say) is its
// background colour.
void ShowLayoutColors(QWidget* root)
{
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        const QString color = widget->property("bkcolor").toString();
        if (!color.isEmpty())
            CControlUI(widget).SetBkColor(QColor(color).rgba());
    }
}

}  // namespace

QWidget* CDialogBuilder::Create(const QString& layout, IDialogBuilderCallback* callback, QWidget* parent)
{
    const CResourceManager& resources = CResourceManager::GetInstance();
    const QString path = resources.FindFile(layout);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        TraceF("layout %s: file not found", qPrintable(layout));
        return nullptr;
    }
    const std::unique_ptr<LayoutLoader> loader = MakeLayoutLoader(callback);
    // Images named in the layout are relative to the skin folder.
    loader->setWorkingDirectory(QDir(resources.GetResourcePath()));
    QWidget* root = loader->load(&file, parent);
    if (!root) {
        TraceF("layout %s: %s", qPrintable(layout), qPrintable(loader->errorString()));
        return nullptr;
    }
    AdoptTextIds(root);
    ShowLayoutColors(root);
    AttachNotifications(root);
    return root;
}

QWidget* CDialogBuilder::BuildInto(QWidget* host, const QString& layout)
{
    auto* box = new QHBoxLayout(host);
    box->setContentsMargins(0, 0, 0, 0);
    QWidget* root = Create(layout, nullptr, host);
    if (root)
        box->addWidget(root);
    return root;
}
