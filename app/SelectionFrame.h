#pragma once

#include <QWidget>

// The outline drawn around the selected palette cell. It lets every mouse event
// through to the cell beneath it.
class SelectionFrame : public QWidget
{
    Q_OBJECT
public:
    explicit SelectionFrame(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
