#include "app/InstanceMessage.h"

#include <QCborMap>
#include <QCborValue>
#include <QTest>

using namespace instancemessage;

Q_DECLARE_METATYPE(Request)
Q_DECLARE_METATYPE(Reply)

namespace {

QByteArray Framed(const QByteArray& payload, const QByteArray& version = "1")
{
    return "TINTORA " + version + ' ' + QByteArray::number(payload.size()) + '\n' + payload;
}

} // namespace

class tst_instancemessage : public QObject
{
    Q_OBJECT

private slots:
    // Whatever the socket splits a frame into, the same request arrives.
    void request_roundTrip_data()
    {
        QTest::addColumn<Request>("request");
        Request front;
        QTest::newRow("front") << front;
        Request pick;
        pick.kind = Request::Kind::Pick;
        pick.format = QStringLiteral("oklch");
        pick.copy = false;
        pick.saveTo = QStringLiteral("Brand \u00e9 colours\n2");
        QTest::newRow("pick") << pick;
        Request noSave = pick;
        noSave.save = false;
        noSave.saveTo.clear();
        QTest::newRow("pick, not saved") << noSave;
        Request open;
        open.kind = Request::Kind::Open;
        open.files = {QStringLiteral("/tmp/a b.gpl"), QStringLiteral("/tmp/\u65e5\u672c.ase")};
        QTest::newRow("open") << open;
    }
    void request_roundTrip()
    {
        QFETCH(Request, request);
        const QByteArray frame = Encode(request);
        for (const qsizetype chunk : {qsizetype(1), qsizetype(7), frame.size()}) {
            Decoder decoder;
            for (qsizetype at = 0; at < frame.size(); at += chunk)
                decoder.feed(frame.mid(at, chunk));
            QCOMPARE(decoder.state(), Decoder::State::Complete);
            QCOMPARE(decoder.request(), std::optional<Request>(request));
        }
    }

    void reply_roundTrip()
    {
        for (const Reply::Status status :
             {Reply::Status::Done, Reply::Status::Cancelled, Reply::Status::Failed}) {
            const Reply reply{status, QStringLiteral("#3A6EA5"), QStringLiteral("no screen")};
            Decoder decoder;
            QCOMPARE(decoder.feed(Encode(reply)), Decoder::State::Complete);
            QCOMPARE(decoder.reply(), std::optional<Reply>(reply));
        }
    }

    // Earlier versions only ask for the window.
    void legacyFront_isFront()
    {
        Decoder decoder;
        QCOMPARE(decoder.feed("fro"), Decoder::State::NeedMore);
        QCOMPARE(decoder.feed("nt\n"), Decoder::State::Complete);
        QCOMPARE(decoder.request()->kind, Request::Kind::Front);
    }

    // A peer that sends anything else is refused at once, having cost at most
    // one bounded frame.
    void malformed_isRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("decodes");
        QTest::newRow("endless first line") << QByteArray(100000, 'x') << false;
        QTest::newRow("not ours") << QByteArray("HELLO 1 0\n") << false;
        QTest::newRow("newer version") << Framed("", "2") << false;
        QTest::newRow("version not a number") << Framed("", "one") << false;
        QTest::newRow("too large") << QByteArray("TINTORA 1 999999999\n") << false;
        QTest::newRow("negative length") << QByteArray("TINTORA 1 -1\n") << false;
        QTest::newRow("more than announced") << Framed("ab") + "c" << false;
        QTest::newRow("missing field") << QByteArray("TINTORA 1\n") << false;
        // Frames that arrive whole but say nothing the program knows.
        QTest::newRow("not a map") << Framed(QCborValue(5).toCbor()) << true;
        QTest::newRow("unknown kind")
            << Framed(QCborMap{{QStringLiteral("kind"), QStringLiteral("format-disk")}}
                          .toCborValue()
                          .toCbor())
            << true;
        QTest::newRow("garbage payload") << Framed("\xff\xff\xff") << true;
    }
    void malformed_isRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, decodes);
        Decoder decoder;
        decoder.feed(bytes);
        QCOMPARE(decoder.state(), decodes ? Decoder::State::Complete : Decoder::State::Error);
        QVERIFY(!decoder.request());
        QVERIFY(!decoder.reply());
        if (!decodes) {
            QVERIFY(!decoder.error().isEmpty());
            // Nothing is read after a refusal.
            QCOMPARE(decoder.feed("front\n"), Decoder::State::Error);
        }
    }
};

QTEST_GUILESS_MAIN(tst_instancemessage)
#include "tst_instancemessage.moc"
