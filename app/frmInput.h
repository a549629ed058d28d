#pragma once

#include <QDialog>
#include <QString>

class Platform;
class QLabel;
class QLineEdit;
class QPushButton;

// The name dialog: one prompt, one text field, OK and Cancel.
class frmInput : public QDialog
{
    Q_OBJECT
public:
    frmInput(Platform& platform, QWidget* parent = nullptr);

    // The trimmed name after OK; empty after Cancel or closing the window.
    QString result() const { return m_result; }
    // The field's text exactly as it was when OK was pressed, before trimming
    // or the "Untiltled" default; empty after Cancel or closing the window.
    QString typedText() const { return m_typedText; }

    QLabel* lblMsg;
    QLineEdit* txtResult;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdOk_Click();
    void cmdCancel_Click();

    Platform& m_platform;
    QString m_result;
    QString m_typedText;
};
