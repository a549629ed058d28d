#pragma once

#include <QComboBox>

class QHBoxLayout;

namespace colorvision {
enum class VisionMode : int;
}

// The list of vision modes, "Normal" first.
class VisionModeBox : public QComboBox
{
    Q_OBJECT
public:
    explicit VisionModeBox(QWidget* parent = nullptr);

    colorvision::VisionMode mode() const;
    // Shows `mode` without reporting it as the user's choice.
    void setMode(colorvision::VisionMode mode);

    // The box after a label that names it (`caption` may hold an
    // accelerator), left-aligned in a row for the box's window.
    QHBoxLayout* labelledRow(const QString& caption);

signals:
    void modeChosen(colorvision::VisionMode mode);
};
