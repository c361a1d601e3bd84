// ctest-label: results
// Simulated level checkers measured by the real polling workers: a good device, one whose
// values break their thresholds and a silent one produce the day's result, error and
// history logs, and the result list shows every result in its channel's row.

#include "ResultListHost.h"
#include "support/SimDevices.h"

#include <QtTest>

namespace {
using Role = MeasureResultModel::Role;

QStringList lines(const QString &text)
{
    QStringList l = text.split(QLatin1Char('\n'));
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

int storedResults(LevelChecker *device)
{
    int count = 0;
    for (int p = 0; p < device->channelSettingCount(); ++p)
        count += device->measurementHistoryCount(p);
    return count;
}

// Whether every channel of device f has at least results.at(f) stored results.
bool everyChannelMeasured(DeviceList *list, const QList<int> &results)
{
    for (int f = 0; f < list->deviceCount(); ++f) {
        LevelChecker *device = list->device(f);
        for (int p = 0; p < device->channelSettingCount(); ++p) {
            if (device->measurementHistoryCount(p) < results.value(f))
                return false;
        }
    }
    return true;
}
}

class TestResultEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(m_sim.start(3), qPrintable(m_sim.lastError()));
        QVERIFY(m_sim.setFault(2, SimDevices::Fault::Range));
        QVERIFY(m_sim.setFault(3, SimDevices::Fault::Silent));
        QVERIFY(m_host.prepare());
        const QStringList names = {QStringLiteral("良好局"), QStringLiteral("範囲外局"), QStringLiteral("無応答局")};
        for (int i = 1; i <= 3; ++i) {
            LevelChecker *device = m_host.addDevice(names.at(i - 1), m_sim.host(i), m_sim.port(i));
            QVERIFY(device);
            ResultListHost::addChannel(device, 0, "13", 473142);
            ResultListHost::addChannel(device, 0, "20", 515142);
        }
        m_handler = m_host.createHandler();
        m_model = m_host.model();
    }

    void cleanupTestCase()
    {
        if (m_host.app()) {
            m_host.devices()->stopMeasurementAt(-1);
            m_host.devices()->waitForPollingLoops();
        }
        m_host.teardown();
    }

    void workersProduceTheDaysLogs()
    {
        DeviceList *list = m_host.devices();
        const QDate today = QDate::currentDate();
        list->startMonitoringAt(-1);
        // Two results per channel of the answering devices show that lines are appended; the
        // silent device needs about 30 s per pass (every request waits for its timeout).
        QTRY_VERIFY_WITH_TIMEOUT(everyChannelMeasured(list, {2, 2, 1}), 120000);
        list->stopMeasurementAt(-1);
        QVERIFY(list->waitForPollingLoops());
        QCoreApplication::processEvents(); // replies relayed before the stop

        const QStringList names = {QStringLiteral("良好局"), QStringLiteral("範囲外局"), QStringLiteral("無応答局")};
        const QStringList verdicts = {QStringLiteral("1,1,1,1"), QStringLiteral("0,0,0,1"), QStringLiteral("0,0,0,0")};
        const QStringList items = {QString(), QStringLiteral("レベル、MER/CN、BER"), QStringLiteral("接続エラー")};
        const QList<int> statuses = {0, 2, 3};

        for (int f = 0; f < 3; ++f) {
            LevelChecker *device = list->device(f);
            const int number = f + 1;
            const int results = storedResults(device);

            // Result log: Shift-JIS, LF, five head lines, then one line per stored result.
            const QByteArray bytes = ResultListHost::readFile(m_host.resultLogPath(number, today));
            QVERIFY(!bytes.isEmpty());
            QVERIFY(!bytes.contains('\r'));
            const QStringList log = lines(ResultListHost::readShiftJis(m_host.resultLogPath(number, today)));
            QCOMPARE(log.value(0), "日付," + today.toString("yyyy/MM/dd"));
            QVERIFY(log.value(1).startsWith("時刻,"));
            QCOMPARE(log.value(2), "機器No," + QString::number(number));
            QCOMPARE(log.value(3), "名称," + names.at(f));
            QCOMPARE(log.value(4), QStringLiteral("日時,チャンネル,BAND,周波数(MHz),レベル(dBuV),MER/CN(dB),"
                                                  "BER,光レベル(dBm),Layer/偏波,局発周波数(GHz),放送規格,変調方式"));
            QCOMPARE(log.size(), 5 + results);
            for (const QString &line : log.mid(5)) {
                const QStringList c = line.split(',');
                QCOMPARE(c.size(), 12);
                QVERIFY2(c.at(1) == "13" || c.at(1) == "20", qPrintable(line));
                QCOMPARE(c.at(2), QStringLiteral("地デジ"));
            }

            // History log: UTF-8, the header, one line per stored result with its verdicts.
            const QStringList history = lines(QString::fromUtf8(ResultListHost::readFile(m_host.historyLogPath(number, today))));
            QCOMPARE(history.value(0).split(',').size(), 18);
            QCOMPARE(history.size(), 1 + results);
            for (const QString &line : history.mid(1)) {
                QVERIFY2(line.startsWith(QString::number(number) + "," + names.at(f) + ","), qPrintable(line));
                QVERIFY2(line.endsWith(verdicts.at(f)), qPrintable(line));
            }

            // Error log: only for the device in error, one line per judged result.
            const QString errorPath = m_host.errorLogPath(number, today);
            if (items.at(f).isEmpty()) {
                QVERIFY(!QFile::exists(errorPath));
            } else {
                const QStringList errors = lines(ResultListHost::readShiftJis(errorPath));
                QCOMPARE(errors.size(), 1 + results);
                for (const QString &line : errors.mid(1))
                    QCOMPARE(line.split(',').value(5), items.at(f));
            }

            // The list: every channel's own row shows its latest result and status.
            const int top = m_model->deviceTopRow(f);
            QCOMPARE(m_model->data(m_model->index(top), Role::NoRole).toString(), QString::number(number));
            for (int p = 0; p < 2; ++p) {
                const ChannelResultRow latest = device->latestResult(p);
                const QModelIndex row = m_model->index(top + 1 + p);
                QCOMPARE(row.data(Role::ChannelRole).toString(), latest.channel);
                QCOMPARE(row.data(Role::DatatimeRole).toString(), latest.dateTime);
                QCOMPARE(row.data(Role::LevelRole).toString(), latest.level);
                QCOMPARE(row.data(Role::MerRole).toString(), latest.merCn);
                QCOMPARE(row.data(Role::ChannelStatusRole).toInt(), statuses.at(f));
            }
            QCOMPARE(m_model->data(m_model->index(top), Role::StatusRole).toInt(), statuses.at(f));
        }
    }

private:
    SimDevices m_sim;
    ResultListHost m_host;
    NotifyResponse *m_handler = nullptr;
    MeasureResultModel *m_model = nullptr;
};

QTEST_MAIN(TestResultEndToEnd)
#include "tst_resultendtoend.moc"
