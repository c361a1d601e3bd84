// ctest-label: results
// One stored result, all the way: queued relay, stored row, result and history log lines,
// the result list rows, the threshold judgement with its status codes, the error log line
// and the status-error message.

#include "ResultListHost.h"

#include <QAbstractItemModelTester>
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

QByteArray sjis(const QString &text)
{
    return QTextCodec::codecForName("Shift-JIS")->fromUnicode(text);
}

const QString kT = QStringLiteral("2026/12/10 09:15:03");
}

class TestResultPipeline : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_host.prepare());
        // Device 1: two channels, thresholds always judged.
        LevelChecker *one = m_host.addDevice(QStringLiteral("受信点A"));
        ResultListHost::addChannel(one, 0, "13", 473142);
        ResultListHost::addChannel(one, 1, "BS1", 1049480, 10678000);
        // Device 2: the judgement's device; its window and input change per case.
        LevelChecker *two = m_host.addDevice(QStringLiteral("判定局"));
        ResultListHost::addChannel(two, 0, "13", 473142);
        ResultListHost::addChannel(two, 18, "P1", 90000);
        ResultListHost::addChannel(two, 16, "L1", 2110000);
        ResultListHost::addChannel(two, 17, "F1", 80700);
        ResultListHost::addChannel(two, 7, "U1", 30000);
        // Device 3: a plan without any threshold row.
        LevelChecker *three = m_host.addDevice(QStringLiteral("閾値なし"));
        ResultListHost::addChannel(three, 0, "20", 509142, 0, "0", false);
        m_handler = m_host.createHandler();
        m_model = m_host.model();
        QVERIFY(m_model);
        m_tester.reset(new QAbstractItemModelTester(m_model, QAbstractItemModelTester::FailureReportingMode::QtTest));
        // Groups: device 1 at 0..2, device 2 at 3..8, device 3 at 9..10.
        QCOMPARE(m_model->rowCount(), 11);
    }

    void cleanupTestCase()
    {
        m_tester.reset();
        m_host.teardown();
    }

    // The relay is queued: nothing happens inside the emitting call; after it, the result is
    // stored, both log lines are written and the channel's row shows the values.
    void storedResultThroughTheQueuedRelay()
    {
        QSignalSpy stored(m_handler, &NotifyResponse::setResponseValueEnd);
        emit m_host.devices()->notifyResponse(
            0, ResultListHost::reply(kT, "ISDBT", "13", "65.2", "30.1", "<1.0E-8"));
        QCOMPARE(stored.count(), 0);
        QCOMPARE(m_host.devices()->device(0)->latestResult(0).dateTime, QString());
        QTRY_COMPARE(stored.count(), 1);
        QCOMPARE(stored.at(0).at(0).toInt(), 0);
        QCOMPARE(stored.at(0).at(1).toInt(), 0);

        // Result log: Shift-JIS, LF, the five head lines and one line.
        const QByteArray bytes = ResultListHost::readFile(m_host.resultLogPath(1));
        QVERIFY(!bytes.contains('\r'));
        const QStringList log = lines(ResultListHost::readShiftJis(m_host.resultLogPath(1)));
        QCOMPARE(log.size(), 6);
        QCOMPARE(log.at(0), "日付," + QDate::currentDate().toString("yyyy/MM/dd"));
        QVERIFY(QRegularExpression("^時刻,\\d\\d:\\d\\d:\\d\\d$").match(log.at(1)).hasMatch());
        const QString expected = log.at(0) + "\n" + log.at(1) + "\n機器No,1\n名称,受信点A\n"
            "日時,チャンネル,BAND,周波数(MHz),レベル(dBuV),MER/CN(dB),BER,光レベル(dBm),"
            "Layer/偏波,局発周波数(GHz),放送規格,変調方式\n"
            + kT + ",13,地デジ,473.142,65.2,30.1,<1.0E-8,---,A,---,ISDBT,64QAM\n";
        QCOMPARE(bytes, sjis(expected));

        // History log: UTF-8, header and the line with its verdicts.
        QCOMPARE(ResultListHost::readFile(m_host.historyLogPath(1)),
                 QStringLiteral("機器No,名称,日時,チャンネル,BAND,周波数(MHz),レベル(dBuV),"
                                "MER/CN(dB),BER,光レベル,Layer/偏波,局発周波数(GHz),放送規格,"
                                "変調方式,Levelエラー判定,Merエラー判定,Berエラー判定,"
                                "光レベルエラー判定\n1,受信点A,")
                     .toUtf8()
                     + (kT + ",13,地デジ,473.142,65.2,30.1,<1.0E-8,---,A,---,ISDBT,64QAM,1,1,1,1\n").toUtf8());

        // The top row and the channel's own row show it; the channel row is marked.
        for (int r : {0, 1}) {
            QCOMPARE(text(r, Role::DatatimeRole), kT);
            QCOMPARE(text(r, Role::BandRole), QStringLiteral("地デジ"));
            QCOMPARE(text(r, Role::ChannelRole), QStringLiteral("13"));
            QCOMPARE(text(r, Role::FrequencyRole), QStringLiteral("473.142"));
            QCOMPARE(text(r, Role::LevelRole), QStringLiteral("65.2"));
            QCOMPARE(text(r, Role::MerRole), QStringLiteral("30.1"));
            QCOMPARE(text(r, Role::BerRole), QStringLiteral("<1.0E-8"));
            QCOMPARE(text(r, Role::HikariRole), QStringLiteral("---"));
            QCOMPARE(value(r, Role::StatusRole), 0);
        }
        QVERIFY(flag(1, Role::UpdateDataRole));
        QCOMPARE(value(1, Role::ChannelStatusRole), 0);
        // No error, so no error log.
        QVERIFY(!QFile::exists(m_host.errorLogPath(1)));

        // The next result of the other channel: its own row, the top row follows, the mark moves.
        m_handler->onNotifyResponse(0, ResultListHost::reply(kT, "BS_R", "BS1", "60.0", "30.0", "0", "---", "ISDBS", "8PSK", "---"));
        QCOMPARE(text(0, Role::ChannelRole), QStringLiteral("BS1"));
        QCOMPARE(text(0, Role::FrequencyRole), QStringLiteral("1049.48"));
        QCOMPARE(text(2, Role::LevelRole), QStringLiteral("60.0"));
        QCOMPARE(text(1, Role::LevelRole), QStringLiteral("65.2"));
        QVERIFY(!flag(1, Role::UpdateDataRole));
        QVERIFY(flag(2, Role::UpdateDataRole));
        QVERIFY(ResultListHost::readShiftJis(m_host.resultLogPath(1))
                    .endsWith(kT + ",BS1,BS,1049.48,60.0,30.0,0,---,右旋,10.678,ISDBS,8PSK\n"));
        QVERIFY(QString::fromUtf8(ResultListHost::readFile(m_host.historyLogPath(1)))
                    .endsWith(kT + ",BS1,BS,1049.48,60.0,30.0,0,---,---,10.678,ISDBS,8PSK,1,1,1,1\n"));
        // Other devices' rows are untouched.
        QCOMPARE(text(3, Role::DatatimeRole), QString());
        QCOMPARE(text(4, Role::DatatimeRole), QString());
    }

    void judgement_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("inputType");      // 0 coaxial, 1 optical
        QTest::addColumn<int>("terrestrialMode"); // 1 CNR
        QTest::addColumn<QString>("response");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("flags");       // L M B H C, "-" for a clear flag
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("items");       // error log column 6; empty: no record
        QTest::addColumn<QString>("band");        // band text of the row

        auto ter = [](const QString &time, const QString &level, const QString &mer,
                      const QString &ber = QStringLiteral("1.0E-6"),
                      const QString &hikari = QStringLiteral("-5")) {
            return ResultListHost::reply("2026/12/10 " + time, "ISDBT", "13", level, mer, ber, hikari);
        };
        const QString always = QStringLiteral("常時");
        const QString dtv = QStringLiteral("地デジ");

        QTest::newRow("window start minute is judged")
            << "08:00" << "17:00" << 0 << 0 << ter("08:00:30", "30", "30") << 0 << "L----" << 2 << "レベル" << dtv;
        QTest::newRow("window end minute is judged")
            << "08:00" << "17:00" << 0 << 0 << ter("17:00:59", "30", "30") << 0 << "L----" << 2 << "レベル" << dtv;
        QTest::newRow("after the window: not judged")
            << "08:00" << "17:00" << 0 << 0 << ter("17:01:00", "30", "30") << 0 << "-----" << 0 << "" << dtv;
        QTest::newRow("before the window: not judged")
            << "08:00" << "17:00" << 0 << 0 << ter("07:59:59", "30", "30") << 0 << "-----" << 0 << "" << dtv;
        QTest::newRow("night window, late")
            << "22:00" << "06:00" << 0 << 0 << ter("23:15:00", "30", "30") << 0 << "L----" << 2 << "レベル" << dtv;
        QTest::newRow("night window, early")
            << "22:00" << "06:00" << 0 << 0 << ter("05:30:00", "30", "30") << 0 << "L----" << 2 << "レベル" << dtv;
        QTest::newRow("night window, noon: not judged")
            << "22:00" << "06:00" << 0 << 0 << ter("12:00:00", "30", "30") << 0 << "-----" << 0 << "" << dtv;
        QTest::newRow("start equal to end: not judged")
            << "10:00" << "10:00" << 0 << 0 << ter("10:00:00", "30", "30") << 0 << "-----" << 0 << "" << dtv;
        QTest::newRow("silent outside the window")
            << "08:00" << "09:00" << 0 << 0 << ter("12:00:00", "---", "---", "---", "---") << 0
            << "LMBHC" << 3 << "接続エラー" << dtv;
        QTest::newRow("level at its minimum is good")
            << always << always << 0 << 0 << ter("12:00:00", "40", "30") << 0 << "-----" << 0 << "" << dtv;
        QTest::newRow("level below the range")
            << always << always << 0 << 0 << ter("12:00:00", "<20.0", "30") << 0 << "L----" << 2 << "レベル" << dtv;
        QTest::newRow("MER above the range is good")
            << always << always << 0 << 0 << ter("12:00:00", "60", ">40.0") << 0 << "-----" << 0 << "" << dtv;
        QTest::newRow("MER below 10 against 25")
            << always << always << 0 << 0 << ter("12:00:00", "60", "<10.0") << 0 << "-M---" << 2 << "MER/CN" << dtv;
        QTest::newRow("BER above 1E-2 against 1E-4")
            << always << always << 0 << 0 << ter("12:00:00", "60", "30", ">1.0E-2") << 0 << "--B--" << 2 << "BER" << dtv;
        QTest::newRow("level and BER")
            << always << always << 0 << 0 << ter("12:00:00", "90", "30", "1.0E-3") << 0 << "L-B--" << 2 << "レベル、BER" << dtv;
        QTest::newRow("PILOT: no MER and BER judgement")
            << always << always << 0 << 0
            << ResultListHost::reply("2026/12/10 12:00:00", "PILOT", "P1", "60", "---", "---") << 1
            << "-----" << 0 << "" << "PILOT";
        // MER and BER far beyond their thresholds: not judged for these bands either.
        QTest::newRow("LTE: no MER and BER judgement")
            << always << always << 0 << 0
            << ResultListHost::reply("2026/12/10 12:00:00", "LTE", "L1", "60", "<10.0", ">1.0E-2") << 2
            << "-----" << 0 << "" << "LTE";
        QTest::newRow("FM: no MER and BER judgement")
            << always << always << 0 << 0
            << ResultListHost::reply("2026/12/10 12:00:00", "FM", "F1", "60", "<10.0", ">1.0E-2") << 3
            << "-----" << 0 << "" << "FM";
        QTest::newRow("CATV上り: no MER and BER judgement")
            << always << always << 0 << 0
            << ResultListHost::reply("2026/12/10 12:00:00", "UL", "U1", "60", "<10.0", ">1.0E-2") << 4
            << "-----" << 0 << "" << "CATV上り";
        QTest::newRow("CATV上り: level still judged")
            << always << always << 0 << 0
            << ResultListHost::reply("2026/12/10 12:00:00", "UL", "U1", "90", "<10.0", ">1.0E-2") << 4
            << "L----" << 2 << "レベル" << "CATV上り";
        QTest::newRow("optical input judges the optical level")
            << always << always << 1 << 0 << ter("12:00:00", "60", "30", "1.0E-6", "-20") << 0 << "---H-" << 2 << "光レベル" << dtv;
        QTest::newRow("coaxial input ignores it")
            << always << always << 0 << 0 << ter("12:00:00", "60", "30", "1.0E-6", "-20") << 0 << "-----" << 0 << "" << dtv;
        QTest::newRow("CNR mode: converted threshold")
            << always << always << 0 << 1 << ter("12:00:00", "60", "27") << 0 << "-M---" << 2 << "MER/CN" << dtv + "(換算)";
        QTest::newRow("MER mode: plain threshold")
            << always << always << 0 << 0 << ter("12:00:00", "60", "27") << 0 << "-----" << 0 << "" << dtv;
    }

    void judgement()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, inputType);
        QFETCH(int, terrestrialMode);
        QFETCH(QString, response);
        QFETCH(int, position);
        QFETCH(QString, flags);
        QFETCH(int, status);
        QFETCH(QString, items);
        QFETCH(QString, band);

        LevelChecker *device = m_host.devices()->device(1);
        device->setStartTime(start);
        device->setEndTime(end);
        device->setInputType(inputType);
        device->setTerrestrialMerCn(terrestrialMode);
        const int top = 3;
        const int row = top + 1 + position;
        for (int p = 0; p < device->channelSettingCount(); ++p)
            m_handler->onStatusErrorReset(top + 1 + p);
        const int records = device->alertRecordCount(position);
        const int messages = device->errorMessageCount(position);
        const QStringList errorLogBefore = lines(ResultListHost::readShiftJis(m_host.errorLogPath(2)));

        m_handler->onNotifyResponse(1, response);

        QCOMPARE(text(row, Role::BandRole), band);
        const QString got = QString(flag(row, Role::ErrorLevelRole) ? "L" : "-")
                            + (flag(row, Role::ErrorMerRole) ? "M" : "-")
                            + (flag(row, Role::ErrorBerRole) ? "B" : "-")
                            + (flag(row, Role::ErrorHikariRole) ? "H" : "-");
        QCOMPARE(got, flags.left(4));
        // The top row carries the flags of the channel judged last.
        QCOMPARE(flag(top, Role::ErrorLevelRole), flags.at(0) == 'L');
        QCOMPARE(flag(top, Role::ErrorHikariRole), flags.at(3) == 'H');
        QCOMPARE(value(row, Role::ChannelStatusRole), status);
        QCOMPARE(value(top, Role::StatusRole), status);
        QCOMPARE(value(top + 1, Role::StatusRole), status);

        const QStringList errorLog = lines(ResultListHost::readShiftJis(m_host.errorLogPath(2)));
        if (items.isEmpty()) {
            QCOMPARE(device->alertRecordCount(position), records);
            QCOMPARE(device->errorMessageCount(position), messages);
            QCOMPARE(errorLog.size(), errorLogBefore.size());
            return;
        }
        QCOMPARE(device->alertRecordCount(position), records + 1);
        const AlertRecord record = device->alertRecord(position, records);
        QCOMPARE(record.connectionError, flags.at(4) == 'C');
        QCOMPARE(record.band, band);
        QCOMPARE(device->errorMessageCount(position), messages + 1);
        QCOMPARE(errorLog.size(), errorLogBefore.isEmpty() ? 2 : errorLogBefore.size() + 1);
        QCOMPARE(errorLog.last().split(',').value(5), items);
        QCOMPARE(errorLog.last().split(',').value(3), band);
    }

    // 0 → 2 on a broken value, 1 on the next good one, 3 for a silent device, back to 0 only
    // through the reset. The device's status is the highest of its channels.
    void statusLifeCycle()
    {
        LevelChecker *device = m_host.devices()->device(1);
        device->setStartTime(QStringLiteral("常時"));
        device->setEndTime(QStringLiteral("常時"));
        device->setInputType(0);
        device->setTerrestrialMerCn(0);
        m_handler->onStatusErrorReset(4);
        m_handler->onStatusErrorReset(5);
        QSignalSpy updates(m_handler, &NotifyResponse::screenUpdate);

        auto send = [&](const QString &channelCode, const QString &channel, const QString &level) {
            updates.clear();
            m_handler->onNotifyResponse(1, ResultListHost::reply(kT, channelCode, channel, level, "30", "1.0E-6"));
        };
        auto lastUpdate = [&](const QString &key) {
            for (int i = updates.count() - 1; i >= 0; --i) {
                if (updates.at(i).at(0).toString() == key)
                    return updates.at(i).at(1).value<ScreenUpdateValue>();
            }
            return ScreenUpdateValue{-1, false, QString()};
        };

        send("ISDBT", "13", "30");
        QCOMPARE(value(4, Role::ChannelStatusRole), 2);
        QCOMPARE(lastUpdate("statusError").flag, true);
        QCOMPARE(lastUpdate("popupListCount").number, m_model->statusErrorCount());
        QVERIFY(m_model->statusErrorCount() >= 1);
        send("ISDBT", "13", "60");
        QCOMPARE(value(4, Role::ChannelStatusRole), 1);
        QCOMPARE(value(3, Role::StatusRole), 1);
        m_handler->onNotifyResponse(1, QStringLiteral("Timeout,1\n"));
        QCOMPARE(value(5, Role::ChannelStatusRole), 3);
        QCOMPARE(value(3, Role::StatusRole), 3);
        QCOMPARE(value(4, Role::StatusRole), 3);
        QCOMPARE(value(5, Role::StatusRole), 4); // no status of its own
        send("PILOT", "P1", "60");
        QCOMPARE(value(5, Role::ChannelStatusRole), 1);
        QCOMPARE(value(3, Role::StatusRole), 1);
        m_handler->onStatusErrorReset(4);
        m_handler->onStatusErrorReset(5);
        QCOMPARE(value(3, Role::StatusRole), 1); // follows only through the screen's update
        updates.clear();
        m_handler->onDeviceStatusColorUpdate(1);
        m_handler->onStatusTextColorChange();
        QCOMPARE(value(3, Role::StatusRole), 0);
        QCOMPARE(value(4, Role::StatusRole), 0);
        QCOMPARE(lastUpdate("statusError").flag, false);
    }

    // A broken threshold: the error log line and the status-error message, byte for byte.
    void errorLogAndMessage()
    {
        LevelChecker *device = m_host.devices()->device(1);
        device->clearAlertRecords();
        device->clearErrorMessages();
        QFile::remove(m_host.errorLogPath(2));
        QSignalSpy updates(m_handler, &NotifyResponse::screenUpdate);
        m_handler->onNotifyResponse(1, ResultListHost::reply(kT, "ISDBT", "13", "30", "30.1", "<1.0E-8"));
        QCOMPARE(ResultListHost::readFile(m_host.errorLogPath(2)),
                 sjis("機器No,名称,日時,BAND,チャンネル,エラー項目,測定値レベル,閾値レベルMin,"
                      "閾値レベルMax,測定値MER,閾値MER,測定値BER,閾値BER,測定値光レベル,"
                      "閾値光レベルMin,閾値光レベルMax\n"
                      "2,判定局," + kT + ",地デジ,13,レベル,30,40,80,30.1,25,<1.0E-8,1.0E-4,---,-10,0\n"));
        QCOMPARE(device->errorMessage(0, 0),
                 kT + "\n異常：「レベル」\n測定値：レベル 30[dBuV]、MER/CN 30.1[dB]、BER <1.0E-8、光レベル ---\n"
                      "閾値：レベル <40[dBuV] 80>[dBuV]、MER/CN <25[dB]、BER >1.0E-4、\n"
                      "　　　　光レベル <-10[dBm] 0>[dBm]\n\n");
        bool messageUpdate = false;
        for (const QList<QVariant> &u : updates)
            messageUpdate = messageUpdate || u.at(0).toString() == "statusErrorMessageUpdate";
        QVERIFY(messageUpdate);

        // A silent device: the failure is logged as a connection error with the time of handling.
        m_handler->onNotifyResponse(1, QStringLiteral("Error,0\n"));
        const QStringList log = lines(ResultListHost::readShiftJis(m_host.errorLogPath(2)));
        QCOMPARE(log.size(), 3);
        const QStringList columns = log.last().split(',');
        QCOMPARE(columns.size(), 16);
        QCOMPARE(columns.mid(3, 3).join(','), QStringLiteral("地デジ,13,接続エラー"));
        QCOMPARE(columns.mid(6).join(','), QStringLiteral("---,40,80,---,25,---,1.0E-4,---,-10,0"));
        QVERIFY(device->errorMessage(0, 1).contains("異常：接続エラー\n"));
    }

    void statusMessages_data()
    {
        QTest::addColumn<QString>("merThreshold");
        QTest::addColumn<bool>("connection");
        QTest::addColumn<QString>("message");
        QTest::newRow("level and BER, thresholds given")
            << "25" << false
            << "D\n異常：「レベル」「BER」\n測定値：レベル 1[dBuV]、MER/CN 2[dB]、BER 3、光レベル 4\n"
               "閾値：レベル <40[dBuV] 80>[dBuV]、MER/CN <25[dB]、BER >1.0E-4、\n"
               "　　　　光レベル <-10[dBm] 0>[dBm]\n\n";
        QTest::newRow("no MER/CN threshold")
            << "---" << false
            << "D\n異常：「レベル」「BER」\n測定値：レベル 1[dBuV]、MER/CN 2[dB]、BER 3、光レベル 4\n"
               "閾値：レベル <40[dBuV] 80>[dBuV]、MER/CN ---[dB]、BER 1.0E-4、\n"
               "　　　　光レベル <-10[dBm] 0>[dBm]\n\n";
        QTest::newRow("connection error names only itself")
            << "25" << true
            << "D\n異常：接続エラー\n測定値：レベル 1[dBuV]、MER/CN 2[dB]、BER 3、光レベル 4\n"
               "閾値：レベル <40[dBuV] 80>[dBuV]、MER/CN <25[dB]、BER >1.0E-4、\n"
               "　　　　光レベル <-10[dBm] 0>[dBm]\n\n";
    }

    void statusMessages()
    {
        QFETCH(QString, merThreshold);
        QFETCH(bool, connection);
        QFETCH(QString, message);
        AlertRecord r;
        r.band = "地デジ";
        r.channel = "13";
        r.dateTime = "D";
        r.level = "1";
        r.merCn = "2";
        r.ber = "3";
        r.hikariLevel = "4";
        r.levelMin = "40";
        r.levelMax = "80";
        r.merCnThreshold = merThreshold;
        r.berThreshold = "1.0E-4";
        r.hikariLevelMin = "-10";
        r.hikariLevelMax = "0";
        r.levelError = r.berError = true;
        r.connectionError = connection;
        r.merCnError = r.hikariLevelError = connection;
        QCOMPARE(NotifyResponse::statusErrorMessage(r), message);
    }

    // A channel without a threshold row is judged only for a silent device, with "---"
    // as its thresholds.
    void channelWithoutThresholds()
    {
        LevelChecker *device = m_host.devices()->device(2);
        QCOMPARE(device->alertSettingCount(), 0);
        m_handler->onNotifyResponse(2, ResultListHost::reply(kT, "ISDBT", "20", "1", "1", "1"));
        QCOMPARE(device->alertRecordCount(0), 0);
        QCOMPARE(value(10, Role::ChannelStatusRole), 0);
        QVERIFY(QString::fromUtf8(ResultListHost::readFile(m_host.historyLogPath(3))).endsWith(",1,1,1,1\n"));

        m_handler->onNotifyResponse(2, QStringLiteral("Timeout,0\n"));
        QCOMPARE(device->alertRecordCount(0), 1);
        QCOMPARE(value(10, Role::ChannelStatusRole), 3);
        const QStringList columns = lines(ResultListHost::readShiftJis(m_host.errorLogPath(3))).last().split(',');
        QCOMPARE(columns.mid(5).join(','), QStringLiteral("接続エラー,---,---,---,---,---,---,---,---,---,---"));
        QVERIFY(QString::fromUtf8(ResultListHost::readFile(m_host.historyLogPath(3))).endsWith(",0,0,0,0\n"));
    }

    // The result-log folder is read again for every line: a changed setting moves the next
    // lines of both logs; the history log stays in its fixed folder.
    void changedLogFolderTakesEffectAtOnce()
    {
        QVERIFY(m_host.writeSettings(QStringLiteral("C:\\VELMORA\\NRT52\\Moved")));
        m_handler->onNotifyResponse(1, ResultListHost::reply(kT, "ISDBT", "13", "30", "30", "0"));
        const QString date = QDate::currentDate().toString("yyyyMMdd");
        QVERIFY(QFile::exists(m_host.root() + "/Moved/LOG/機器No2/" + date + ".csv"));
        QVERIFY(QFile::exists(m_host.root() + "/Moved/ERROR_LOG/機器No2/" + date + ".csv"));
        QVERIFY(m_host.writeSettings(QStringLiteral("C:\\VELMORA\\NRT52\\Data")));
    }

    // A failure that names a position outside the device's current plan, or a device that is
    // gone, stores nothing, writes nothing and emits nothing.
    void staleFailureTexts()
    {
        LevelChecker *device = m_host.devices()->device(2);
        QSignalSpy stored(m_handler, &NotifyResponse::setResponseValueEnd);
        const QByteArray resultLog = ResultListHost::readFile(m_host.resultLogPath(3));
        const QByteArray historyLog = ResultListHost::readFile(m_host.historyLogPath(3));
        const QStringList rows = m_host.snapshot();
        const int history = device->measurementHistoryCount(0);
        emit m_host.devices()->notifyResponse(2, QStringLiteral("Timeout,1\n"));
        emit m_host.devices()->notifyResponse(7, QStringLiteral("Error,0\n"));
        emit m_host.devices()->notifyResponse(
            9, ResultListHost::reply(kT, "ISDBT", "20", "1", "1", "1"));
        // A marker behind them: once it is handled, so are they.
        emit m_host.devices()->notifyResponse(0, ResultListHost::reply(kT, "ISDBT", "13", "60", "30", "0"));
        QTRY_COMPARE(stored.count(), 1);
        QCOMPARE(stored.at(0).at(0).toInt(), 0);
        QCOMPARE(device->measurementHistoryCount(0), history);
        QCOMPARE(ResultListHost::readFile(m_host.resultLogPath(3)), resultLog);
        QCOMPARE(ResultListHost::readFile(m_host.historyLogPath(3)), historyLog);
        QCOMPARE(m_host.snapshot().mid(3), rows.mid(3));
    }

private:
    QString text(int row, int role) const { return m_model->data(m_model->index(row), role).toString(); }
    int value(int row, int role) const { return m_model->data(m_model->index(row), role).toInt(); }
    bool flag(int row, int role) const { return m_model->data(m_model->index(row), role).toBool(); }

    ResultListHost m_host;
    NotifyResponse *m_handler = nullptr;
    MeasureResultModel *m_model = nullptr;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

QTEST_MAIN(TestResultPipeline)
#include "tst_resultpipeline.moc"
