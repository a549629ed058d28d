#include "app/InstanceMessage.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QList>

namespace instancemessage {

namespace {

const QByteArray Magic = QByteArrayLiteral("TINTORA");
const QByteArray LegacyFront = QByteArrayLiteral("front");

QByteArray Frame(const QCborMap& payload)
{
    const QByteArray body = payload.toCborValue().toCbor();
    return Magic + ' ' + QByteArray::number(Version) + ' ' + QByteArray::number(body.size()) +
           '\n' + body;
}

QString KindName(Request::Kind kind)
{
    switch (kind) {
    case Request::Kind::Front:
        return QStringLiteral("front");
    case Request::Kind::Pick:
        return QStringLiteral("pick");
    case Request::Kind::Open:
        return QStringLiteral("open");
    }
    return {};
}

QString StatusName(Reply::Status status)
{
    switch (status) {
    case Reply::Status::Done:
        return QStringLiteral("done");
    case Reply::Status::Cancelled:
        return QStringLiteral("cancelled");
    case Reply::Status::Failed:
        return QStringLiteral("failed");
    }
    return {};
}

QCborMap PayloadOf(const QByteArray& bytes, bool* ok)
{
    QCborParserError error;
    const QCborValue value = QCborValue::fromCbor(bytes, &error);
    *ok = error.error == QCborError::NoError && value.isMap();
    return *ok ? value.toMap() : QCborMap();
}

} // namespace

QByteArray Encode(const Request& request)
{
    QCborMap map;
    map.insert(QStringLiteral("kind"), KindName(request.kind));
    if (request.kind == Request::Kind::Pick) {
        map.insert(QStringLiteral("format"), request.format);
        map.insert(QStringLiteral("copy"), request.copy);
        map.insert(QStringLiteral("save"), request.save);
        map.insert(QStringLiteral("saveTo"), request.saveTo);
    }
    if (request.kind == Request::Kind::Open)
        map.insert(QStringLiteral("files"), QCborArray::fromStringList(request.files));
    return Frame(map);
}

QByteArray Encode(const Reply& reply)
{
    QCborMap map;
    map.insert(QStringLiteral("status"), StatusName(reply.status));
    map.insert(QStringLiteral("text"), reply.text);
    map.insert(QStringLiteral("message"), reply.message);
    return Frame(map);
}

Decoder::State Decoder::fail(const QString& why)
{
    m_state = State::Error;
    m_error = why;
    m_buffer.clear();
    return m_state;
}

Decoder::State Decoder::feed(const QByteArray& bytes)
{
    if (m_state != State::NeedMore)
        return m_state;
    // Never hold more than one frame: whatever a peer sends beyond it is
    // refused before it is kept.
    if (m_payloadBytes < 0) {
        const qsizetype take = std::min<qsizetype>(bytes.size(), MaxHeaderBytes - m_buffer.size());
        m_buffer.append(bytes.first(take));
        const qsizetype end = m_buffer.indexOf('\n');
        if (end < 0) {
            if (m_buffer.size() >= MaxHeaderBytes)
                return fail(QStringLiteral("the request's first line is too long"));
            return m_state;
        }
        const QByteArray header = m_buffer.first(end);
        QByteArray rest = m_buffer.mid(end + 1) + bytes.mid(take);
        m_buffer.clear();
        if (header == LegacyFront) {
            m_legacyFront = true;
            return m_state = State::Complete;
        }
        const QList<QByteArray> fields = header.split(' ');
        if (fields.size() != 3 || fields[0] != Magic)
            return fail(QStringLiteral("the request is not one of Tintora's"));
        bool versionOk = false;
        const int version = fields[1].toInt(&versionOk);
        if (!versionOk || version < 1)
            return fail(QStringLiteral("the request's version is not a number"));
        if (version != Version)
            return fail(QStringLiteral("the request comes from another version of Tintora (%1)")
                            .arg(version));
        bool lengthOk = false;
        const qlonglong length = fields[2].toLongLong(&lengthOk);
        if (!lengthOk || length < 0 || fields[2].startsWith('+'))
            return fail(QStringLiteral("the request's length is not a number"));
        if (length > MaxPayloadBytes)
            return fail(QStringLiteral("the request is larger than %1 bytes").arg(MaxPayloadBytes));
        m_payloadBytes = static_cast<qsizetype>(length);
        return feed(rest);
    }
    if (m_buffer.size() + bytes.size() > m_payloadBytes)
        return fail(QStringLiteral("the request holds more than it announced"));
    m_buffer.append(bytes);
    if (m_buffer.size() == m_payloadBytes)
        m_state = State::Complete;
    return m_state;
}

std::optional<Request> Decoder::request() const
{
    if (m_state != State::Complete)
        return std::nullopt;
    Request request;
    if (m_legacyFront)
        return request;
    bool ok = false;
    const QCborMap map = PayloadOf(m_buffer, &ok);
    if (!ok)
        return std::nullopt;
    const QString kind = map.value(QStringLiteral("kind")).toString();
    if (kind == QLatin1String("front")) {
        request.kind = Request::Kind::Front;
    } else if (kind == QLatin1String("pick")) {
        request.kind = Request::Kind::Pick;
        request.format = map.value(QStringLiteral("format")).toString();
        request.copy = map.value(QStringLiteral("copy")).toBool(true);
        request.save = map.value(QStringLiteral("save")).toBool(true);
        request.saveTo = map.value(QStringLiteral("saveTo")).toString();
    } else if (kind == QLatin1String("open")) {
        request.kind = Request::Kind::Open;
        const QCborArray files = map.value(QStringLiteral("files")).toArray();
        for (const QCborValue& file : files) {
            if (!file.isString())
                return std::nullopt;
            request.files.append(file.toString());
        }
    } else {
        return std::nullopt;
    }
    return request;
}

std::optional<Reply> Decoder::reply() const
{
    if (m_state != State::Complete || m_legacyFront)
        return std::nullopt;
    bool ok = false;
    const QCborMap map = PayloadOf(m_buffer, &ok);
    if (!ok)
        return std::nullopt;
    Reply reply;
    const QString status = map.value(QStringLiteral("status")).toString();
    if (status == QLatin1String("done"))
        reply.status = Reply::Status::Done;
    else if (status == QLatin1String("cancelled"))
        reply.status = Reply::Status::Cancelled;
    else if (status == QLatin1String("failed"))
        reply.status = Reply::Status::Failed;
    else
        return std::nullopt;
    reply.text = map.value(QStringLiteral("text")).toString();
    reply.message = map.value(QStringLiteral("message")).toString();
    return reply;
}

} // namespace instancemessage
