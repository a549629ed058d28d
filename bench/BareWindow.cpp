// The reference of the start-up figures: a bare Qt window, a program that
// links Qt Widgets alone and shows an empty window.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(480, 360);
    window.show();
    return QApplication::exec();
}
