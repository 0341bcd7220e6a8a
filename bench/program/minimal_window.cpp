// The yardstick for the program's start-up and memory: the least a Qt Widgets
// program does to show one window of the same size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setFixedSize(678, 420);
    window.show();
    return QApplication::exec();
}
