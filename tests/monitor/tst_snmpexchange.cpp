// ctest-label: snmp
// One request exchange of a device record against simulated level checkers: the reply
// texts, their signals, the results, and the request tables that feed them.
#include "MonitorTestRoot.h"

#include "monitor/LevelChecker.h"
#include "monitor/SnmpObject.h"
#include "monitor/SnmpRequestTable.h"
#include "support/SimDevices.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int AnsweringDevice = 1;
constexpr int FaultDevice = 2;
// Deliberately loose: an unanswered request waits about 2 s.
constexpr qint64 UnansweredAtLeastMs = 1500;

// A request of the table kinds the workers send.
enum class Request { MeasResult, BandSelection, StopSelection, Information, PowerSupplyGet };

void fill(SnmpRequestTable &table, Request request)
{
    table.clear();
    switch (request) {
    case Request::MeasResult:
        table.setEntry(0, true, 0, 0, 's', QLatin1String(SnmpObject::MeasResult));
        break;
    case Request::BandSelection:
        table.setEntry(0, true, 0, 0, 's', QLatin1String(SnmpObject::BandCode), QStringLiteral("BS"));
        table.setEntry(1, true, 0, 0, 'i', QLatin1String(SnmpObject::Polarisation), QStringLiteral("1"));
        table.setEntry(2, true, 0, 0, 's', QLatin1String(SnmpObject::Channel), QStringLiteral("15"));
        break;
    case Request::StopSelection:
        table.setEntry(0, true, 0, 0, 's', QLatin1String(SnmpObject::BandCode), QStringLiteral("ISDBT"));
        table.setEntry(1, true, 0, 0, 's', QLatin1String(SnmpObject::Channel), QStringLiteral("0"));
        break;
    case Request::Information:
        for (int i = 0; i < SnmpObject::InformationCount; ++i)
            table.setEntry(i, true, 0, 10, 's', QLatin1String(SnmpObject::Information[i]));
        break;
    case Request::PowerSupplyGet:
        table.setEntry(0, true, 0, 0, 'i', QLatin1String(SnmpObject::PowerSupply));
        break;
    }
}

quint32 loopbackAddress()
{
    const unsigned char bytes[4] = { 127, 0, 0, 1 };
    quint32 address = 0;
    std::memcpy(&address, bytes, sizeof address);
    return address;
}

std::unique_ptr<LevelChecker> makeDevice(int port)
{
    const quint32 address = loopbackAddress();
    auto device = std::make_unique<LevelChecker>(1, QStringLiteral("sim"), &address, 0, QStringLiteral("1.csv"), 0,
                                                 QStringLiteral("常時"), QStringLiteral("常時"), 3);
    device->setCommunity("kv52gate");
    device->setPort(port);
    device->setMonitoring(true);
    return device;
}

// A loopback port that nothing listens on (bound once by us, then released).
int unusedPort()
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

struct Exchange
{
    int result = -1;
    qint64 elapsedMs = 0;
    QStringList measurement; // notifyRcvToList texts
    QStringList information; // notifyRcvInfomationToList texts
    QStringList peers;
};

// Sends the table through the device in this thread; the signals are emitted here.
Exchange exchange(LevelChecker &device, Request request)
{
    auto table = std::make_unique<SnmpRequestTable>();
    fill(*table, request);
    QSignalSpy measurement(&device, &LevelChecker::notifyRcvToList);
    QSignalSpy information(&device, &LevelChecker::notifyRcvInfomationToList);
    Exchange out;
    QString address;
    QElapsedTimer clock;
    clock.start();
    out.result = table->sendRequestTable(&device, 0, address);
    out.elapsedMs = clock.elapsed();
    for (const QList<QVariant> &args : measurement) {
        out.peers << args.at(0).toString();
        out.measurement << args.at(1).toString();
    }
    for (const QList<QVariant> &args : information) {
        out.peers << args.at(0).toString();
        out.information << args.at(1).toString();
    }
    return out;
}

QString stampOf(const QString &logLine) { return logLine.section(QLatin1Char(' '), 0, 0); }

} // namespace

class TestSnmpExchange : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_root.prepare());
        QVERIFY2(m_sim.start(3), qPrintable(m_sim.lastError()));
    }

    void init()
    {
        for (int i = 1; i <= m_sim.count(); ++i) {
            QVERIFY(m_sim.setFault(i, SimDevices::Fault::None));
            QVERIFY(m_sim.clearLog(i));
        }
    }

    void resultGetGivesOneLine()
    {
        const auto device = makeDevice(m_sim.port(AnsweringDevice));
        device->setCurrentChannelIndex(3);
        const Exchange reply = exchange(*device, Request::MeasResult);

        QCOMPARE(reply.result, 0);
        QCOMPARE(reply.measurement.size(), 1);
        QVERIFY(reply.information.isEmpty());
        QVERIFY2(reply.measurement.first().contains(QLatin1String("lcMeasResult.0 = STRING: ")),
                 qPrintable(reply.measurement.first()));
        QVERIFY(reply.measurement.first().contains(QLatin1Char('\n')));
        QVERIFY(reply.measurement.first().size() < int(LevelChecker::RenderBufferSize));
        QCOMPARE(reply.peers, QStringList { m_sim.address(AnsweringDevice) });
        QCOMPARE(m_sim.requests(AnsweringDevice), QStringList { QStringLiteral("GET 4.1") });
        QCOMPARE(device->outstandingRequests(), 0);
        QVERIFY(device->pendingPdu() == nullptr);
    }

    // Measurement mode passes on only the result object; the answers to the
    // configuration SETs (and to any other object) give no text.
    void otherObjectsGiveNoTextInMeasurementMode_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<QStringList>("logged");
        QTest::newRow("band selection") << int(Request::BandSelection)
                                        << QStringList { "SET 3.1.1 BS", "SET 3.1.3 1", "SET 3.1.6 15" };
        QTest::newRow("stop selection") << int(Request::StopSelection)
                                        << QStringList { "SET 3.1.1 ISDBT", "SET 3.1.6 0" };
        QTest::newRow("GET of 3.8") << int(Request::PowerSupplyGet) << QStringList { "GET 3.8" };
    }

    void otherObjectsGiveNoTextInMeasurementMode()
    {
        QFETCH(int, request);
        QFETCH(QStringList, logged);
        const auto device = makeDevice(m_sim.port(AnsweringDevice));
        const Exchange reply = exchange(*device, Request(request));
        QCOMPARE(reply.result, 0);
        QVERIFY(reply.measurement.isEmpty());
        QVERIFY(reply.information.isEmpty());
        QCOMPARE(m_sim.requests(AnsweringDevice), logged);
    }

    void unansweredRequest_data()
    {
        QTest::addColumn<bool>("silentDevice"); // else a loopback port without listener
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("channelIndex");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("GET, silent device") << true << int(Request::MeasResult) << 7 << QStringList { "Timeout,7\n" };
        QTest::newRow("GET, no channel") << true << int(Request::MeasResult) << 200
                                         << QStringList { "Timeout,200\n" };
        QTest::newRow("GET, no listener") << false << int(Request::MeasResult) << 12
                                          << QStringList { "Timeout,12\n" };
        QTest::newRow("SET, silent device") << true << int(Request::StopSelection) << 7 << QStringList {};
        QTest::newRow("SET, no listener") << false << int(Request::BandSelection) << 7 << QStringList {};
    }

    void unansweredRequest()
    {
        QFETCH(bool, silentDevice);
        QFETCH(int, request);
        QFETCH(int, channelIndex);
        QFETCH(QStringList, texts);
        int port = 0;
        if (silentDevice) {
            QVERIFY(m_sim.setFault(FaultDevice, SimDevices::Fault::Silent));
            port = m_sim.port(FaultDevice);
        } else {
            port = unusedPort();
            QVERIFY(port > 0);
        }
        const auto device = makeDevice(port);
        device->setCurrentChannelIndex(channelIndex);
        const Exchange reply = exchange(*device, Request(request));

        QCOMPARE(reply.result, 2);
        QVERIFY2(reply.elapsedMs >= UnansweredAtLeastMs, qPrintable(QString::number(reply.elapsedMs)));
        QCOMPARE(reply.measurement, texts);
        QVERIFY(reply.information.isEmpty());
        if (!texts.isEmpty())
            QCOMPARE(reply.peers.first(), QStringLiteral("127.0.0.1:%1").arg(port));
        QCOMPARE(device->outstandingRequests(), 0);
        if (silentDevice)
            QVERIFY(!m_sim.requests(FaultDevice).isEmpty());
    }

    void errorStatusGivesOneErrorText_data()
    {
        QTest::addColumn<int>("requestMode");
        QTest::addColumn<int>("request");
        QTest::newRow("measurement, result GET") << 0 << int(Request::MeasResult);
        QTest::newRow("information, eight GETs") << 1 << int(Request::Information);
    }

    void errorStatusGivesOneErrorText()
    {
        QFETCH(int, requestMode);
        QFETCH(int, request);
        QVERIFY(m_sim.setFault(FaultDevice, SimDevices::Fault::Error));
        const auto device = makeDevice(m_sim.port(FaultDevice));
        device->setRequestMode(requestMode);
        device->setCurrentChannelIndex(4);
        const Exchange reply = exchange(*device, Request(request));

        QCOMPARE(reply.result, 0);
        const QStringList texts = requestMode == 1 ? reply.information : reply.measurement;
        const QStringList others = requestMode == 1 ? reply.measurement : reply.information;
        QCOMPARE(texts, QStringList { QStringLiteral("Error,4\n") });
        QVERIFY(others.isEmpty());
    }

    // The identity readout: one PDU of eight GETs, eight information texts in order.
    void identityReadout()
    {
        const auto device = makeDevice(m_sim.port(AnsweringDevice));
        device->setRequestMode(int(RequestMode::Information));
        auto table = std::make_unique<SnmpRequestTable>();
        fill(*table, Request::Information);
        QSignalSpy measurement(device.get(), &LevelChecker::notifyRcvToList);
        QSignalSpy information(device.get(), &LevelChecker::notifyRcvInfomationToList);
        QString address;
        int sent = 0;
        QCOMPARE(table->sendGroup(device.get(), 0, 0, address, &sent), 0);
        QCOMPARE(sent, 8);
        QCOMPARE(address, QStringLiteral("127.0.0.1"));

        QVERIFY(measurement.isEmpty());
        QCOMPARE(information.size(), 8);
        const char *names[] = { "lcSerialnum.0", "lcPhysAddress.0", "lcVersionPRODUCT.0" };
        for (int i = 0; i < 3; ++i)
            QVERIFY2(information.at(i).at(1).toString().contains(QLatin1String(names[i])),
                     qPrintable(information.at(i).at(1).toString()));
        QVERIFY(information.at(7).at(1).toString().contains(QLatin1String("lcOptionID.0")));
        for (const QList<QVariant> &args : information) {
            QCOMPARE(args.at(0).toString(), m_sim.address(AnsweringDevice));
            QVERIFY(args.at(1).toString().contains(QLatin1String(" = STRING: ")));
        }

        // One datagram: eight variables in order with one time stamp.
        const QStringList log = m_sim.requestLog(AnsweringDevice);
        QCOMPARE(log.size(), 8);
        QStringList expected;
        for (const char *suffix : SnmpObject::Information)
            expected << QStringLiteral("GET %1").arg(QLatin1String(suffix));
        QCOMPARE(m_sim.requests(AnsweringDevice), expected);
        for (const QString &line : log)
            QCOMPARE(stampOf(line), stampOf(log.first()));
    }

    void monitoringOffEmitsNothing_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("requestMode");
        QTest::addColumn<int>("result");
        QTest::newRow("answered") << int(SimDevices::Fault::None) << 0 << 0;
        QTest::newRow("answered, information") << int(SimDevices::Fault::None) << 1 << 0;
        QTest::newRow("error status") << int(SimDevices::Fault::Error) << 0 << 0;
        QTest::newRow("unanswered") << int(SimDevices::Fault::Silent) << 0 << 2;
    }

    void monitoringOffEmitsNothing()
    {
        QFETCH(int, fault);
        QFETCH(int, requestMode);
        QFETCH(int, result);
        QVERIFY(m_sim.setFault(FaultDevice, SimDevices::Fault(fault)));
        const auto device = makeDevice(m_sim.port(FaultDevice));
        device->setMonitoring(false);
        device->setRequestMode(requestMode);
        const Exchange reply = exchange(*device, requestMode == 1 ? Request::Information : Request::MeasResult);
        QCOMPARE(reply.result, result);
        QVERIFY(reply.measurement.isEmpty());
        QVERIFY(reply.information.isEmpty());
        // The request still went out.
        QVERIFY(!m_sim.requests(FaultDevice).isEmpty());
    }

    void failedOpenReturnsAtOnce_data()
    {
        QTest::addColumn<QByteArray>("host");
        QTest::addColumn<int>("port");
        // Local-socket peers: no name lookup, and the open fails at once.
        QTest::newRow("missing local socket") << QByteArray("unix:/nonexistent-nrt52/agent") << 161;
    }

    void failedOpenReturnsAtOnce()
    {
        QFETCH(QByteArray, host);
        QFETCH(int, port);
        const auto device = makeDevice(port);
        device->addPduVariable(false, SnmpRequestTable::oidText(QLatin1String(SnmpObject::MeasResult)), 's', QString(),
                               true);
        QSignalSpy measurement(device.get(), &LevelChecker::notifyRcvToList);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(device->sendRequest(0, host.constData(), device->community()), 1);
        QVERIFY2(clock.elapsed() < UnansweredAtLeastMs, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(measurement.isEmpty());
        QVERIFY(device->pendingPdu() == nullptr);
        QCOMPARE(device->outstandingRequests(), 0);
    }

    void nothingToSendReturnsOne()
    {
        const auto device = makeDevice(m_sim.port(AnsweringDevice));
        QCOMPARE(device->sendRequest(0, "127.0.0.1", device->community()), 1);
        auto table = std::make_unique<SnmpRequestTable>();
        table->clear();
        QString address;
        QCOMPARE(table->sendRequestTable(device.get(), 0, address), 1);
        QVERIFY(m_sim.requests(AnsweringDevice).isEmpty());
    }

    // A device that answers after the library's own 1 s timeout but within the 2 s wait
    // is still read.
    void slowAnswerWithinTheWait()
    {
        QVERIFY(m_sim.setFault(FaultDevice, SimDevices::Fault::Slow, 1200));
        const auto device = makeDevice(m_sim.port(FaultDevice));
        device->setCurrentChannelIndex(0);
        const Exchange reply = exchange(*device, Request::MeasResult);
        QCOMPARE(reply.result, 0);
        QCOMPARE(reply.measurement.size(), 1);
        QVERIFY(reply.measurement.first().contains(QLatin1String("lcMeasResult.0 = STRING: ")));
    }

    // A datagram that is no answer wakes the wait without completing the request: the
    // bounded wait runs out and closing the session reports the request as timed out.
    void packetThatIsNoAnswer()
    {
        const int fd = socket(AF_INET, SOCK_DGRAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        QVERIFY(getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        timeval receiveLimit { 10, 0 };
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receiveLimit, sizeof receiveLimit);
        std::unique_ptr<QThread> responder(QThread::create([fd] {
            char datagram[2048];
            sockaddr_in client {};
            socklen_t clientLength = sizeof client;
            if (recvfrom(fd, datagram, sizeof datagram, 0, reinterpret_cast<sockaddr *>(&client), &clientLength) > 0)
                sendto(fd, "garbage", 7, 0, reinterpret_cast<sockaddr *>(&client), clientLength);
        }));
        responder->start();

        const auto device = makeDevice(ntohs(address.sin_port));
        device->setCurrentChannelIndex(5);
        const Exchange reply = exchange(*device, Request::MeasResult);
        responder->wait();
        close(fd);

        QCOMPARE(reply.result, 0);
        QVERIFY2(reply.elapsedMs >= 4500, qPrintable(QString::number(reply.elapsedMs)));
        QCOMPARE(reply.measurement, QStringList { QStringLiteral("Timeout,5\n") });
        QCOMPARE(device->outstandingRequests(), 0);
    }

    // Workers of several devices exchange at the same time, each in its own thread, and
    // their texts reach the GUI thread queued, each device with its own answer.
    void parallelWorkers()
    {
        QVERIFY(m_sim.setFault(FaultDevice, SimDevices::Fault::Silent));
        struct Worker
        {
            std::unique_ptr<LevelChecker> device;
            std::unique_ptr<QThread> thread;
            QStringList texts;
            QStringList peers;
            std::atomic<int> results { 0 };
        };
        const int ports[] = { m_sim.port(1), m_sim.port(2), m_sim.port(3) };
        std::vector<std::unique_ptr<Worker>> workers;
        const int rounds = 3;
        for (int port : ports) {
            auto worker = std::make_unique<Worker>();
            worker->device = makeDevice(port);
            worker->device->setCurrentChannelIndex(1);
            Worker *w = worker.get();
            connect(w->device.get(), &LevelChecker::notifyRcvToList, this, [w](QString peer, QString text) {
                QVERIFY(QThread::currentThread() == QCoreApplication::instance()->thread());
                w->peers << peer;
                w->texts << text;
            });
            w->thread.reset(QThread::create([w] {
                auto table = std::make_unique<SnmpRequestTable>();
                fill(*table, Request::MeasResult);
                QString address;
                for (int i = 0; i < rounds; ++i) {
                    if (table->sendRequestTable(w->device.get(), 0, address) != 1)
                        ++w->results;
                }
            }));
            workers.push_back(std::move(worker));
        }
        for (auto &w : workers)
            w->thread->start();
        for (auto &w : workers)
            QTRY_VERIFY_WITH_TIMEOUT(w->thread->isFinished(), 60000);
        QTRY_COMPARE(workers[0]->texts.size(), rounds);
        QTRY_COMPARE(workers[1]->texts.size(), rounds);
        QTRY_COMPARE(workers[2]->texts.size(), rounds);

        for (size_t i = 0; i < workers.size(); ++i) {
            Worker &w = *workers[i];
            QCOMPARE(w.results.load(), rounds);
            QCOMPARE(w.peers, QVector<QString>(rounds, m_sim.address(int(i) + 1)).toList());
            for (const QString &text : w.texts) {
                if (i + 1 == FaultDevice)
                    QCOMPARE(text, QStringLiteral("Timeout,1\n"));
                else
                    QVERIFY2(text.contains(QLatin1String("lcMeasResult.0 = STRING: ")), qPrintable(text));
            }
        }
    }

private:
    MonitorTestRoot m_root;
    SimDevices m_sim;
};

QTEST_GUILESS_MAIN(TestSnmpExchange)
#include "tst_snmpexchange.moc"
