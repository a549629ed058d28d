// The references of the start-up figures: a bare Qt window, a program that
// links Qt Widgets alone and shows an empty window; with `--label`, the same
// window showing one word, so that the figures tell what any text costs
// (the system's font configuration read, a font loaded, shaped and drawn)
// apart from what the program itself adds.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[])
{
    const bool withLabel = argc > 1 && std::strcmp(argv[1], "--label") == 0;
    QApplication application(argc, argv);
    QWidget window;
    window.resize(480, 360);
    if (withLabel)
        (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("Colour"), &window));
    window.show();
    return QApplication::exec();
}
