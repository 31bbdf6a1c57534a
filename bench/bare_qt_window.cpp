// The yardstick of the start benchmark: the smallest Qt Widgets program with
// a window of the main window's size. It says "shown" on standard output once
// its window is shown from the running event loop, as the program's is, and
// runs until it is ended.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(1000, 640);
    QTimer::singleShot(0, &window, [&window] {
        window.show();
        std::puts("shown");
        std::fflush(stdout);
    });
    return app.exec();
}
