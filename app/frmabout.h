#pragma once

#include <QDialog>

class Platform;
class QLabel;
class QPushButton;

// The About box: product name, version, and the maker's web site and support
// e-mail, both opened through the desktop.
class frmabout : public QDialog
{
    Q_OBJECT
public:
    frmabout(Platform& platform, QWidget* parent = nullptr);

    static const QString WebSiteAddress;
    static const QString SupportAddress;

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblWeb;
    QLabel* lblEmail;
    QPushButton* cmdOk;

private:
    Platform& m_platform;
};
