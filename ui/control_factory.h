#pragma once
// The system's own control classes, registered by class name. A layout
// names a class either by its full name ("CCircleProgressUI") or by the
// short one ("CircleProgress"); both find the same registration. Names
// compare without case.

#include <QString>
#include <QWidget>

#include <functional>

class CControlFactory {
public:
    using CreateFunction = std::function<QWidget*(QWidget* parent)>;

    static CControlFactory& GetInstance();

    void RegistControl(const QString& className, CreateFunction create);
    bool IsRegistered(const QString& className) const;
    // nullptr when the class is not registered.
    QWidget* CreateControl(const QString& className, QWidget* parent) const;

private:
    CControlFactory() = default;
    const CreateFunction* Find(const QString& className) const;
};

// Registration helper: CControlFactory::GetInstance().RegistControl(
//     "CCircleProgressUI", CreateControlOf<CCircleProgressUI>);
template <class T>
QWidget* CreateControlOf(QWidget* parent)
{
    return new T(parent);
}
