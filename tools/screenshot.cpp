// Writes a PNG of the whole X screen: the photograph of a program running
// under Xvfb. Usage: screenshot FILE.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot FILE.png\n");
        return 2;
    }
    if (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY")) {
        std::fprintf(stderr, "screenshot: no X display; set DISPLAY\n");
        return 1;
    }
    // The screen of the X display, whatever platform the user prefers.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication App(QtArgc, QtArgv);
    QScreen* Screen = QGuiApplication::primaryScreen();
    QPixmap Shot = Screen ? Screen->grabWindow(0) : QPixmap();
    if (Shot.isNull()) {
        std::fprintf(stderr, "screenshot: the screen could not be read\n");
        return 1;
    }
    if (!Shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
