#include "app/platform/GlobalShortcuts.h"
#include "tests/support/ScriptedPortal.h"
#include "tests/support/ScriptedShortcuts.h"

#include <QDBusArgument>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The "Pick a colour" shortcut through the desktop portal, against a scripted
// portal on a bus of the test's own.
class tst_globalshortcuts : public QObject
{
    Q_OBJECT

private slots:
    void bind_thenActivate_data()
    {
        QTest::addColumn<uint>("sessionResponse");
        QTest::addColumn<uint>("bindResponse");
        QTest::addColumn<GlobalShortcuts::State>("state");
        QTest::newRow("bound") << 0u << 0u << GlobalShortcuts::State::Bound;
        QTest::newRow("user cancels the desktop's dialog")
            << 0u << 1u << GlobalShortcuts::State::Failed;
        QTest::newRow("desktop refuses the session") << 2u << 0u << GlobalShortcuts::State::Failed;
    }
    void bind_thenActivate()
    {
        QFETCH(uint, sessionResponse);
        QFETCH(uint, bindResponse);
        QFETCH(GlobalShortcuts::State, state);
        PrivateBus bus;
        QVERIFY2(!bus.address().isEmpty(), qPrintable(bus.problem()));
        ScriptedShortcuts portal(bus.connect(QStringLiteral("portal")));
        portal.sessionResponse = sessionResponse;
        portal.bindResponse = bindResponse;
        QVERIFY(portal.publish());

        GlobalShortcuts shortcuts(bus.connect(QStringLiteral("program")));
        QVERIFY(shortcuts.available());
        QSignalSpy activations(&shortcuts, &GlobalShortcuts::activated);
        shortcuts.enable({QStringLiteral("pick"), QStringLiteral("Pick a colour"),
                          QStringLiteral("CTRL+ALT+c")});
        QCOMPARE(shortcuts.state(), GlobalShortcuts::State::Binding);
        QTRY_VERIFY2(shortcuts.state() != GlobalShortcuts::State::Binding,
                     "the portal's answers never arrived");
        QVERIFY2(shortcuts.state() == state, qPrintable(shortcuts.detail()));

        if (sessionResponse == 0) {
            QCOMPARE(portal.bound.size(), 1);
            QCOMPARE(portal.bound.first().id, QStringLiteral("pick"));
            QCOMPARE(portal.bound.first().properties.value(QStringLiteral("description")),
                     QVariant(QStringLiteral("Pick a colour")));
        }
        // Another program's session, then ours.
        portal.activate(QStringLiteral("/org/freedesktop/portal/desktop/session/other/x"),
                        QStringLiteral("pick"));
        portal.activate(portal.sessionPath, QStringLiteral("pick"));
        // The bus keeps one sender's order: once ours has arrived, the other
        // session's has been heard and dropped.
        if (state == GlobalShortcuts::State::Bound) {
            QTRY_COMPARE(activations.size(), 1);
        } else {
            QTest::qWait(200);
            QCOMPARE(activations.size(), 0);
        }
        if (!activations.isEmpty())
            QCOMPARE(activations.first().first().toString(), QStringLiteral("pick"));

        // Turning it off closes the session and no activation arrives after.
        shortcuts.disable();
        QCOMPARE(shortcuts.state(), GlobalShortcuts::State::Off);
        if (sessionResponse == 0)
            QTRY_VERIFY(portal.session.closed);
        portal.activate(portal.sessionPath, QStringLiteral("pick"));
        QTest::qWait(100);
        QCOMPARE(activations.size(), state == GlobalShortcuts::State::Bound ? 1 : 0);
    }

    void noPortal_fails_withoutWaiting()
    {
        PrivateBus bus;
        QVERIFY2(!bus.address().isEmpty(), qPrintable(bus.problem()));
        GlobalShortcuts shortcuts(bus.connect(QStringLiteral("program")));
        QVERIFY(!shortcuts.available());
        shortcuts.enable({QStringLiteral("pick"), QStringLiteral("Pick a colour"), {}});
        QTRY_COMPARE(shortcuts.state(), GlobalShortcuts::State::Failed);
        QVERIFY(!shortcuts.detail().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_globalshortcuts)
#include "tst_globalshortcuts.moc"
