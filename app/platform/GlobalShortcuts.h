#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QMetaType>
#include <QVariantMap>

class QDBusArgument;

// One entry of the portal's BindShortcuts a(sa{sv}): a shortcut's id and its
// properties. At namespace scope, since D-Bus finds a slot taking it by the
// type's registered name (a scripted portal in the tests does).
struct BoundShortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const BoundShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, BoundShortcut& shortcut);

Q_DECLARE_METATYPE(BoundShortcut)

// A shortcut that works whichever program has the focus, through the desktop
// portal's GlobalShortcuts interface (KDE Plasma 5.27 and later, GNOME 48 and
// later): the program asks for a session, binds its shortcuts to it (the
// desktop may ask the user which keys), and hears Activated whenever the
// user presses one. Nothing here waits: every step answers by a signal, so
// the window never freezes while the desktop shows its own dialog.
class GlobalShortcuts : public QObject
{
    Q_OBJECT
public:
    enum class State {
        Off,
        // Asked for, not answered yet.
        Binding,
        Bound,
        // The desktop has no such portal, or refused; detail() says which.
        Failed,
    };
    Q_ENUM(State)

    struct Shortcut
    {
        QString id;
        QString description;
        // A trigger as the XDG shortcuts specification writes it ("CTRL+ALT+c");
        // the desktop may choose another or ask the user.
        QString preferredTrigger;
    };

    explicit GlobalShortcuts(const QDBusConnection& bus, QObject* parent = nullptr);
    ~GlobalShortcuts() override;

    // Whether the desktop answers for the interface at all; asks the bus once,
    // with a short deadline.
    bool available();

    // Creates a session and binds `shortcut` to it; a second call while bound
    // or binding is ignored.
    void enable(const Shortcut& shortcut);
    // Closes the session: the desktop forgets the binding's activations.
    void disable();

    State state() const { return m_state; }
    QString detail() const { return m_detail; }

signals:
    void stateChanged(GlobalShortcuts::State state);
    void activated(const QString& id);

private slots:
    void onSessionResponse(uint response, const QVariantMap& results);
    void onBindResponse(uint response, const QVariantMap& results);
    void onActivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                     const QVariantMap& options);

private:
    void setState(State state, const QString& detail = {});
    // Calls `method` of the interface with `arguments` and then `options`;
    // its Response goes to `slot`.
    bool request(const QString& method, const QVariantList& arguments, QVariantMap options,
                 const char* slot);
    void stopListening();

    QDBusConnection m_bus;
    State m_state = State::Off;
    QString m_detail;
    Shortcut m_shortcut;
    QString m_session;
    QString m_requestPath;
    const char* m_requestSlot = nullptr;
};
