#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What a second start says to the running instance over the single-instance
// socket, and what the instance answers. A frame is a header line
//   TINTORA <version> <payload bytes>\n
// followed by exactly that many bytes of CBOR: a map of the request's or the
// reply's fields. Frames are bounded, so that a peer that sends garbage or an
// endless stream costs the instance a few kilobytes and is dropped; the bare
// "front\n" that earlier versions send still asks for the window.
namespace instancemessage {

constexpr int Version = 1;
// A request names at most a few hundred files; a reply holds one colour text.
constexpr qsizetype MaxPayloadBytes = 256 * 1024;
constexpr qsizetype MaxHeaderBytes = 64;

struct Request
{
    enum class Kind {
        // Show the main window (what every second start without a command asks).
        Front,
        // Pick one colour from the screen, as `tintora --pick` does.
        Pick,
        // Import palette files, as `tintora FILE...` does.
        Open,
    };
    Kind kind = Kind::Front;
    // Pick: the notation's name, whether to copy it, where to save it
    // (an empty name: the palette the picker offers first).
    QString format;
    bool copy = true;
    bool save = true;
    QString saveTo;
    // Open: absolute paths of the files.
    QStringList files;

    bool operator==(const Request&) const = default;
};

struct Reply
{
    enum class Status {
        Done,
        Cancelled,
        Failed,
    };
    Status status = Status::Done;
    // Done: the colour's text in the requested notation.
    QString text;
    // Failed: a sentence for the user.
    QString message;

    static Reply failed(const QString& message) { return {Status::Failed, {}, message}; }

    bool operator==(const Reply&) const = default;
};

QByteArray Encode(const Request& request);
QByteArray Encode(const Reply& reply);

// Reads frames from a stream as they arrive. Feed it bytes; once a whole frame
// is in, `request()`/`reply()` give it. After an error nothing more is read and
// the connection should be dropped.
class Decoder
{
public:
    enum class State {
        NeedMore,
        Complete,
        Error,
    };

    State feed(const QByteArray& bytes);
    State state() const { return m_state; }
    QString error() const { return m_error; }

    std::optional<Request> request() const;
    std::optional<Reply> reply() const;

private:
    State fail(const QString& why);

    State m_state = State::NeedMore;
    QString m_error;
    QByteArray m_buffer;
    qsizetype m_payloadBytes = -1;
    bool m_legacyFront = false;
};

} // namespace instancemessage
