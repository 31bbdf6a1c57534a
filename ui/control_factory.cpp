#include "ui/control_factory.h"

#include <QHash>

namespace {

QHash<QString, CControlFactory::CreateFunction>& Registry()
{
    static QHash<QString, CControlFactory::CreateFunction> registry;
    return registry;
}

}  // namespace

CControlFactory& CControlFactory::GetInstance()
{
    static CControlFactory factory;
    return factory;
}

void CControlFactory::RegistControl(const QString& className, CreateFunction create)
{
    if (className.isEmpty() || !create)
        return;
    Registry().insert(className.toLower(), std::move(create));
}

bool CControlFactory::IsRegistered(const QString& className) const
{
    return Find(className) != nullptr;
}

QWidget* CControlFactory::CreateControl(const QString& className, QWidget* parent) const
{
    const CreateFunction* create = Find(className);
    return create ? (*create)(parent) : nullptr;
}

// "CircleProgress" finds the registration of "CCircleProgressUI".
const CControlFactory::CreateFunction* CControlFactory::Find(const QString& className) const
{
    const auto& registry = Registry();
    const QString key = className.toLower();
    auto it = registry.find(key);
    if (it == registry.end())
        it = registry.find(QStringLiteral("c") + key + QStringLiteral("ui"));
    return it == registry.end() ? nullptr : &*it;
}
