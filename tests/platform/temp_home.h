#pragma once
// Points one XDG folder variable at a fresh temporary folder for the
// lifetime of a test, and restores the old value afterwards.

#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <string>

class TempXdgFolder {
public:
    explicit TempXdgFolder(const char* variable) : variable_(variable)
    {
        if (const char* old = std::getenv(variable))
            old_ = old;
        setenv(variable, dir_.path().toUtf8().constData(), 1);
    }
    ~TempXdgFolder()
    {
        if (old_)
            setenv(variable_, old_->c_str(), 1);
        else
            unsetenv(variable_);
    }
    std::string Path() const { return dir_.path().toStdString() + '/'; }

private:
    const char* variable_;
    std::optional<std::string> old_;
    QTemporaryDir dir_;
};
