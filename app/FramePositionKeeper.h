#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Puts a top-level window back where its frame was when the program hid it,
// once the program shows it again. A window manager places a window that
// comes back from hiding as if it were new (centred, or where it first
// stood), which moves the main window after every picking run.
class FramePositionKeeper : public QObject
{
    Q_OBJECT
public:
    explicit FramePositionKeeper(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QPoint m_frame;
    bool m_kept = false;
};
