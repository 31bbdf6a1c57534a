#pragma once
// What the program's own controls share: layout attributes, and the
// hand-off that keeps them on the UI thread.

#include <QDynamicPropertyChangeEvent>
#include <QEvent>
#include <QMetaObject>
#include <QString>
#include <QThread>

#include <utility>

// A layout sets a control's own attributes as dynamic properties
// (<property name="lightimage" stdset="0"><string>light.png</string>);
// each one reaches SetAttribute with its name in lower case and its value
// as text. Names a control does not know are ignored.
template <class Base>
class CAttributedUI : public Base {
public:
    using Base::Base;

    virtual void SetAttribute(const QString& name, const QString& value) = 0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::DynamicPropertyChange) {
            const QByteArray name = static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName();
            SetAttribute(QString::fromLatin1(name).toLower(), this->property(name.constData()).toString());
        }
        return Base::event(event);
    }
};

// Runs work on the control's thread: at once when called there, otherwise
// queued to it (and dropped when the control is gone by then). Workers
// (lighting, sound) compute and post through this, so controls are only
// changed and painted on the UI thread.
template <class Work>
void RunOnControlThread(QObject* control, Work work)
{
    if (QThread::currentThread() == control->thread())
        work();
    else
        QMetaObject::invokeMethod(control, std::move(work), Qt::QueuedConnection);
}

// "true" (any case) is true, anything else false.
inline bool IsTrueAttribute(const QString& value)
{
    return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}
