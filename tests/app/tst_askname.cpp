#include "app/WindowRoutines.h"
#include "app/frmInput.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/ModalScript.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_askname : public QObject
{
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void cancelAfterAnEarlierName_givesEmptyText();
    void dialogShowsTitleAndPromptAndStaysOnTop();
};

namespace {

enum class Finish { OkButton, EnterKey, CancelButton, EscapeKey, CloseWindow };

QString askWith(FakePlatform& platform, const QString& typed, Finish finish)
{
    whenModalShown([typed, finish](QWidget* widget) {
        auto* dialog = qobject_cast<frmInput*>(widget);
        QVERIFY(dialog);
        QCOMPARE(dialog->txtResult->text(), QString());
        QTest::keyClicks(dialog->txtResult, typed);
        switch (finish) {
        case Finish::OkButton:
            QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
            break;
        case Finish::EnterKey:
            QTest::keyClick(dialog->txtResult, Qt::Key_Return);
            break;
        case Finish::CancelButton:
            QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
            break;
        case Finish::EscapeKey:
            QTest::keyClick(dialog->txtResult, Qt::Key_Escape);
            break;
        case Finish::CloseWindow:
            dialog->close();
            break;
        }
    });
    return AskName(platform, nullptr, QStringLiteral("Add a new color palette"),
                   QStringLiteral("Please input a name of new color palette:"));
}

} // namespace

void tst_askname::answers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("finish");
    QTest::addColumn<QString>("result");
    QTest::newRow("ok with a name") << "Autumn" << int(Finish::OkButton) << "Autumn";
    QTest::newRow("enter with a name") << "Autumn" << int(Finish::EnterKey) << "Autumn";
    QTest::newRow("surrounding spaces trimmed")
        << "  Sea Blue  " << int(Finish::OkButton) << "Sea Blue";
    QTest::newRow("empty field") << "" << int(Finish::OkButton) << "Untiltled";
    QTest::newRow("spaces only") << "   " << int(Finish::EnterKey) << "Untiltled";
    QTest::newRow("cancel") << "Autumn" << int(Finish::CancelButton) << "";
    QTest::newRow("escape") << "Autumn" << int(Finish::EscapeKey) << "";
    QTest::newRow("closed by the frame") << "Autumn" << int(Finish::CloseWindow) << "";
}

void tst_askname::answers()
{
    QFETCH(QString, typed);
    QFETCH(int, finish);
    QFETCH(QString, result);
    FakePlatform platform;
    QCOMPARE(askWith(platform, typed, Finish(finish)), result);
}

void tst_askname::cancelAfterAnEarlierName_givesEmptyText()
{
    FakePlatform platform;
    QCOMPARE(askWith(platform, QStringLiteral("First"), Finish::OkButton), QStringLiteral("First"));
    QCOMPARE(askWith(platform, QString(), Finish::CancelButton), QString());
}

void tst_askname::dialogShowsTitleAndPromptAndStaysOnTop()
{
    FakePlatform platform;
    QString title;
    QString prompt;
    bool onTop = false;
    whenModalShown([&](QWidget* widget) {
        auto* dialog = qobject_cast<frmInput*>(widget);
        title = dialog->windowTitle();
        prompt = dialog->lblMsg->text();
        onTop = dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        QCOMPARE(dialog->cmdOk->text(), QStringLiteral("&Ok"));
        QCOMPARE(dialog->cmdCancel->text(), QStringLiteral("&Cancel"));
        dialog->reject();
    });
    AskName(platform, nullptr, QStringLiteral("Save This Color Scheme"),
            QStringLiteral("Save this color scheme as:"));
    QCOMPARE(title, QStringLiteral("Save This Color Scheme"));
    QCOMPARE(prompt, QStringLiteral("Save this color scheme as:"));
    QVERIFY(onTop);
}

QTEST_MAIN(tst_askname)
#include "tst_askname.moc"
