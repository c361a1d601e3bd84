// ctest-label: snmp
// CPU of the polling worker per exchange against one simulated level checker: the GET of the
// measurement result as the worker sends it (request table, session per request, reply text
// and its signal to a receiver in another thread), next to the library's own cost for the
// same GET in plain C calls (a session per GET, the reply rendered as text), in the same run
// against the same agent. The CPU is the calling thread's own, so the agent's answer time is
// left out. Reports figures only; it never fails on time.

#include "MonitorTestRoot.h"

#include "monitor/LevelChecker.h"
#include "monitor/SnmpLibrary.h"
#include "monitor/SnmpObject.h"
#include "monitor/SnmpRequestTable.h"
#include "support/SimDevices.h"
#include "support/TimeFigures.h"

#include <QThread>
#include <QtTest>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>

namespace {
constexpr int kExchanges = 400;
constexpr int kWarmUp = 20;

qint64 threadCpuNs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

quint32 loopbackAddress()
{
    const unsigned char bytes[4] = {127, 0, 0, 1};
    quint32 address = 0;
    std::memcpy(&address, bytes, sizeof address);
    return address;
}

// Receives the reply texts in its own thread, as the device list does.
class Receiver : public QObject
{
    Q_OBJECT
public:
    std::atomic<int> count {0};
public slots:
    void onReply(QString peer, QString text)
    {
        Q_UNUSED(peer)
        if (!text.isEmpty())
            ++count;
    }
};

// One GET of the result object the way the plain C client does it; the reply's thread CPU.
qint64 plainGet(const QByteArray &peer, bool *answered)
{
    const qint64 start = threadCpuNs();
    netsnmp_session session;
    {
        std::lock_guard<std::recursive_mutex> lock(SnmpLibrary::sessionMutex());
        snmp_sess_init(&session);
    }
    session.version = SNMP_VERSION_2c;
    session.peername = const_cast<char *>(peer.constData());
    session.community = reinterpret_cast<u_char *>(const_cast<char *>("kv52gate"));
    session.community_len = std::strlen("kv52gate");
    session.retries = 0;
    void *handle = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(SnmpLibrary::sessionMutex());
        handle = snmp_sess_open(&session);
    }
    *answered = false;
    if (handle) {
        oid name[] = {1, 3, 6, 1, 4, 1, 52817, 1, 70, 4, 1, 0};
        netsnmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_GET);
        snmp_add_null_var(pdu, name, sizeof name / sizeof name[0]);
        netsnmp_pdu *response = nullptr;
        if (snmp_sess_synch_response(handle, pdu, &response) == STAT_SUCCESS && response
            && response->errstat == SNMP_ERR_NOERROR && response->variables) {
            char buffer[LevelChecker::RenderBufferSize];
            snprint_variable(buffer, sizeof buffer, response->variables->name,
                             response->variables->name_length, response->variables);
            *answered = std::strstr(buffer, "lcMeasResult") != nullptr;
        }
        if (response)
            snmp_free_pdu(response);
        std::lock_guard<std::recursive_mutex> lock(SnmpLibrary::sessionMutex());
        snmp_sess_close(handle);
    }
    return threadCpuNs() - start;
}
} // namespace

class TestBenchExchange : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.prepare());
        QVERIFY2(m_sim.start(1), qPrintable(m_sim.lastError()));
        m_receiver = new Receiver;
        m_receiver->moveToThread(&m_receiverThread);
        m_receiverThread.start();
    }

    void cleanupTestCase()
    {
        m_receiver->deleteLater();
        m_receiverThread.quit();
        m_receiverThread.wait();
    }

    void cpuPerExchange()
    {
        const quint32 address = loopbackAddress();
        LevelChecker device(1, QStringLiteral("sim"), &address, 0, QStringLiteral("1.csv"), 0,
                            QStringLiteral("常時"), QStringLiteral("常時"), 3);
        device.setCommunity("kv52gate");
        device.setPort(m_sim.port(1));
        device.setMonitoring(true);
        device.setCurrentChannelIndex(0);
        connect(&device, &LevelChecker::notifyRcvToList, m_receiver, &Receiver::onReply,
                Qt::QueuedConnection);
        SnmpRequestTable table;
        table.setEntry(0, true, 0, 0, 's', QLatin1String(SnmpObject::MeasResult));
        const QByteArray peer = m_sim.address(1).toLatin1();

        QVector<qint64> worker;
        QVector<qint64> plain;
        int plainAnswered = 0;
        int workerFailed = 0;
        // Alternating, so that both see the same load of the machine.
        for (int i = 0; i < kWarmUp + kExchanges; ++i) {
            QString text;
            const qint64 start = threadCpuNs();
            const int result = table.sendRequestTable(&device, 0, text);
            const qint64 spent = threadCpuNs() - start;
            bool answered = false;
            const qint64 plainSpent = plainGet(peer, &answered);
            if (i < kWarmUp)
                continue;
            worker << spent;
            plain << plainSpent;
            workerFailed += result != 0;
            plainAnswered += answered;
        }
        QCOMPARE(workerFailed, 0);
        QCOMPARE(plainAnswered, kExchanges);
        QTRY_COMPARE(m_receiver->count.load(), kWarmUp + kExchanges);
        const TimeFigures w = TimeFigures::ofNanoseconds(worker);
        const TimeFigures c = TimeFigures::ofNanoseconds(plain);
        qInfo("worker CPU per exchange over %d GETs: median %.1f us, p90 %.1f us", kExchanges,
              w.median, w.p90);
        qInfo("plain C session-per-GET CPU, same agent: median %.1f us, p90 %.1f us", c.median, c.p90);
    }

private:
    MonitorTestRoot m_root;
    SimDevices m_sim;
    QThread m_receiverThread;
    Receiver *m_receiver = nullptr;
};

QTEST_MAIN(TestBenchExchange)
#include "tst_bench_exchange.moc"
