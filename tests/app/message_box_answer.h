#pragma once
// Answers every message box shown while it lives with a click on one of
// the box's buttons, and records what each box showed.

#include "app/msg_wnd.h"

#include <QLabel>
#include <QPushButton>

#include <vector>

struct ShownMessageBox {
    QString title;
    QString text;
    bool cancelShown = false;
    int dpi = 0;
};

class CMessageBoxAnswer {
public:
    // button: "confirm_btn", "cancel_btn" or "closebtn"; empty closes the
    // box as the window manager's close button does.
    explicit CMessageBoxAnswer(const QString& button)
    {
        SetMessageBoxHook([this, button](CMsgWnd& box) {
            const auto* cancel = box.findChild<QWidget*>("cancel_btn");
            shown.push_back({Text(box, "MessageTitle"), Text(box, "MessageText"),
                             cancel && !cancel->isHidden(), box.GetDPI()});
            auto* target = button.isEmpty() ? nullptr : box.findChild<QPushButton*>(button);
            if (target)
                target->click();
            else
                box.close();  // never leave a test waiting on a box
        });
    }
    ~CMessageBoxAnswer() { SetMessageBoxHook({}); }
    CMessageBoxAnswer(const CMessageBoxAnswer&) = delete;
    CMessageBoxAnswer& operator=(const CMessageBoxAnswer&) = delete;

    std::vector<ShownMessageBox> shown;

private:
    static QString Text(const CMsgWnd& box, const char* label)
    {
        const auto* widget = box.findChild<QLabel*>(label);
        return widget ? widget->text() : QString();
    }
};
