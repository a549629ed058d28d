#include "scheme/SampleColors.h"

#include "app/ClickableLabel.h"

#include <QWidget>

void PaintSample(QWidget* sample, Color back, Color fore)
{
    QPalette colors = sample->palette();
    colors.setColor(QPalette::Base, toQColor(back));
    colors.setColor(QPalette::Window, toQColor(back));
    colors.setColor(QPalette::Text, toQColor(fore));
    colors.setColor(QPalette::WindowText, toQColor(fore));
    sample->setPalette(colors);
    sample->setAutoFillBackground(true);
}
