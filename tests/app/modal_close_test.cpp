// A process of its own: whether a close ended the program's loop can only
// be seen before anything has ended it.

#include "app/main_wnd.h"
#include "platform/product.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

TEST(ModalCloseTest, ClosingAModalWindowEndsOnlyItsOwnRun)
{
    CMainWnd window;
    window.Create(nullptr, kProductTitle);
    class ModalWindow : public WindowImplBase {
    protected:
        QString GetSkinFile() override { return QString(); }
        QString GetWindowClassName() const override { return "ModalWnd"; }
    } modal;
    modal.Create(&window, "modal");
    QEventLoop programLoop;  // stands for the program's loop: ending that ends this one too
    int modalCode = -1;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] { modal.close(); });  // the window manager's close command
        modalCode = modal.ShowModal();
        QTimer::singleShot(0, [&] { programLoop.exit(7); });
    });
    EXPECT_EQ(programLoop.exec(), 7);
    EXPECT_EQ(modalCode, IDCANCEL);
    EXPECT_FALSE(window.IsClosed());
}
