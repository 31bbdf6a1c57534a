#include "services/skin_frame.h"

#include "platform/trace.h"
#include "ui/resource_manager.h"

#include <QFileDialog>
#include <QImageReader>
#include <QPointer>
#include <QStackedWidget>

namespace {

enum SkinTab { kImageTab = 0, kColourTab = 1 };

void Choose(const SkinChangedParam& skin, bool reset = false)
{
    SkinChangeObserver().Broadcast(skin);
    if (!WriteSkinRecord(SkinRecordPath(), skin, reset))
        Trace("skin choice not recorded");
}

bool IsReadableImage(const QString& image)
{
    const QString path = CResourceManager::GetInstance().FindFile(image);
    return !path.isEmpty() && QImageReader(path).canRead();
}

}  // namespace

QString CSkinFrame::ChooseImageFile(QWidget* owner)
{
    return QFileDialog::getOpenFileName(owner, {}, {}, QStringLiteral("(*.png);;(*)"));
}

CSkinFrame::CSkinFrame(ImageChooser chooser) : WindowImplBase(false), chooser_(std::move(chooser)) {}

CSkinFrame* CSkinFrame::Open(QWidget* owner, QWidget* anchor, ImageChooser chooser)
{
    static QPointer<CSkinFrame> open;
    if (open && !open->IsClosed())
        return open;
    open = new CSkinFrame(std::move(chooser));
    if (!open->Create(owner, QString()))
        Trace("skin window layout missing");
    open->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    open->PlaceUnder(anchor);
    open->ShowWindow(true);
    return open;
}

void CSkinFrame::InitWindow()
{
    // The stock image buttons show their image (the colour buttons their
    // colour, from the layout).
    for (QWidget* button : GetRoot() ? GetRoot()->findChildren<QWidget*>() : QList<QWidget*>()) {
        if (button->objectName() == "skin_image_btn")
            CControlUI(button).SetBkImage(button->property("bkimage").toString());
    }
}

void CSkinFrame::PlaceUnder(QWidget* anchor)
{
    if (!anchor)
        return;
    const QPoint corner = anchor->mapToGlobal(QPoint(anchor->width(), anchor->height()));
    move(corner.x() - width(), corner.y());
}

void CSkinFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == "click") {
        const QString sender = msg.SenderName();
        const CControlUI control(qobject_cast<QWidget*>(msg.pSender.data()));
        auto* tabs = FindControl("skin_tab").As<QStackedWidget>();
        if (sender == "skin_image_btn")
            Choose({false, 0, control.GetBkImage()});
        else if (sender == "skin_color_btn")
            Choose({true, control.GetBkColor(), {}});
        else if (sender == "skin_color" && tabs)
            tabs->setCurrentIndex(kColourTab);
        else if (sender == "skin_image" && tabs)
            tabs->setCurrentIndex(kImageTab);
        else if (sender == "skin_reset")
            Choose({false, 0, QString::fromLatin1(kDefaultBackground)}, true);
        else if (sender == "skin_Custom")
            ChooseOwnImage();
    }
    WindowImplBase::Notify(msg);
}

void CSkinFrame::ChooseOwnImage()
{
    // The popup may close (and go) while the dialog runs: nothing of it is
    // used after the dialog.
    const ImageChooser chooser = chooser_;
    QWidget* owner = parentWidget();
    const QString image = chooser(owner);
    if (image.isEmpty())
        return;
    if (!IsReadableImage(image)) {
        TraceF("skin image %s cannot be read", qPrintable(image));
        return;
    }
    Choose({false, 0, image});
}

void CSkinFrame::OnFinalMessage()
{
    deleteLater();
}

CRootSkinReceiver::CRootSkinReceiver(WindowImplBase& window) : window_(window)
{
    SkinChangeObserver().AddReceiver(this);
}

CRootSkinReceiver::~CRootSkinReceiver()
{
    SkinChangeObserver().RemoveReceiver(this);
}

int CRootSkinReceiver::Receive(SkinChangedParam param)
{
    CControlUI root = window_.FindControl("root");
    if (!root)
        return 0;
    if (param.useColour) {
        root.SetBkColor(param.colour);
        root.SetBkImage({});
        return 1;
    }
    if (!IsReadableImage(param.image)) {
        TraceF("skin image %s cannot be read", qPrintable(param.image));
        return 0;
    }
    root.SetBkColor(0);
    root.SetBkImage(param.image);
    return 1;
}

void CRootSkinReceiver::RestoreSaved()
{
    if (const std::optional<SkinChangedParam> saved = ReadSkinRecord(SkinRecordPath()))
        Receive(*saved);
}
