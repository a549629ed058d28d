#pragma once

#include <QComboBox>

// A drop-down list whose long entries are cut short with an ellipsis, in the
// box and in the list it opens, which is never wider than the box; the whole
// entry shows as a tooltip. The entries' texts themselves stay whole.
class ElidingComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ElidingComboBox(QWidget* parent = nullptr);

    void showPopup() override;
    // The current entry as the box shows it.
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int textWidth() const;
};
