// ctest-label: results
// The result list that the response handler keeps: building the device groups, reloading
// them after plan and device changes, check boxes, focus, sorts, statuses and the popup.

#include "ResultListHost.h"

#include <QAbstractItemModelTester>
#include <QtTest>

namespace {
using Role = MeasureResultModel::Role;
const QString kT = QStringLiteral("2026/12/10 09:15:03");

QStringList repeated(int count, const QString &text)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << text;
    return list;
}
}

class TestResultList : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_host.reset(new ResultListHost);
        QVERIFY(m_host->prepare());
    }

    void cleanup()
    {
        m_tester.reset();
        m_host.reset();
    }

    // Two devices with 3 and 0 channels: 4 + 2 rows, top rows 0 and 4, two rows shown.
    void buildsOneGroupPerDevice()
    {
        LevelChecker *one = m_host->addDevice("A", "127.0.0.1", 161, 0);
        ResultListHost::addChannel(one, 0, "13", 473142);
        ResultListHost::addChannel(one, 5, "C24", 231000);
        ResultListHost::addChannel(one, 17, "F1", 80700);
        m_host->addDevice("B", "127.0.0.1", 161, 0);
        start();

        QSignalSpy updates(m_handler, &NotifyResponse::screenUpdate);
        m_handler->onMeasurementResultModelClear();
        QCOMPARE(m_model->rowCount(), 0);
        m_handler->onMakeMeasurementResultModel();
        QCOMPARE(updates.count(), 1);
        QCOMPARE(updates.at(0).at(0).toString(), QStringLiteral("listCount"));
        QCOMPARE(updates.at(0).at(1).value<ScreenUpdateValue>().number, 2);

        QCOMPARE(m_model->rowCount(), 6);
        QCOMPARE(m_model->deviceTopRow(0), 0);
        QCOMPARE(m_model->deviceTopRow(1), 4);
        QCOMPARE(column(Role::NoRole), QStringList({"1", "1", "1", "1", "2", "2"}));
        QCOMPARE(column(Role::LatestDataRole), QStringList({"true", "false", "false", "false", "true", "false"}));
        QCOMPARE(column(Role::TopDataVisibleRole), QStringList({"true", "true", "false", "false", "true", "true"}));
        QCOMPARE(column(Role::DisplayRole), QStringList({"true", "false", "false", "false", "true", "false"}));
        QCOMPARE(column(Role::MeasurementStartRole), QStringList({"測定中", "測定中", "", "", "停止中", "停止中"}));
        QCOMPARE(column(Role::SettingcheckRole), QStringList({"設定・確認", "設定・確認", "", "", "未設定", "未設定"}));
        QCOMPARE(column(Role::StatusRole), QStringList({"0", "0", "4", "4", "0", "0"}));
        QCOMPARE(column(Role::BandRole), QStringList({"地デジ", "地デジ", "CATV", "FM", "", ""}));
        QCOMPARE(column(Role::ChannelRole), QStringList({"13", "13", "C24", "F1", "", ""}));
        QCOMPARE(column(Role::FrequencyRole), QStringList({"473.142", "473.142", "231.000", "80.7", "", ""}));
        QCOMPARE(column(Role::NameRole), QStringList({"A", "A", "A", "A", "B", "B"}));
    }

    void stoppedDeviceShowsStopped()
    {
        LevelChecker *one = m_host->addDevice("A", "127.0.0.1", 161, 1);
        ResultListHost::addChannel(one, 0, "13", 473142);
        start();
        QCOMPARE(column(Role::MeasurementStartRole), QStringList({"停止中", "停止中"}));
    }

    // Nothing is removed or inserted for an unchanged plan; the top row takes the values
    // of the first channel row, error flags included.
    void reloadOfAnUnchangedPlan()
    {
        LevelChecker *one = m_host->addDevice("A");
        ResultListHost::addChannel(one, 0, "13", 473142);
        ResultListHost::addChannel(one, 0, "14", 479142);
        start();
        m_handler->onNotifyResponse(0, ResultListHost::reply(kT, "ISDBT", "13", "30", "30", "0"));
        m_handler->onNotifyResponse(0, ResultListHost::reply(kT, "ISDBT", "14", "60", "30", "0"));
        QCOMPARE(text(0, Role::ChannelRole), QStringLiteral("14"));
        QVERIFY(!flag(0, Role::ErrorLevelRole));
        QSignalSpy inserted(m_model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(m_model, &QAbstractItemModel::rowsRemoved);
        m_handler->onMeasurementChannelReloading();
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(text(0, Role::ChannelRole), QStringLiteral("13"));
        QCOMPARE(text(0, Role::LevelRole), QStringLiteral("30"));
        QVERIFY(flag(0, Role::ErrorLevelRole));
        QCOMPARE(value(1, Role::ChannelStatusRole), 2);
        QCOMPARE(value(0, Role::StatusRole), 2);
    }

    // A channel added at plan position 2 becomes row t + 3, hidden while the top row is
    // shown; a row whose frequency no longer matches is replaced by an empty one; a row
    // with "(換算)" still matches its channel.
    void reloadAfterPlanChanges()
    {
        LevelChecker *one = m_host->addDevice("A");
        one->setTerrestrialMerCn(1);
        ResultListHost::addChannel(one, 0, "13", 473142);
        ResultListHost::addChannel(one, 0, "14", 479142);
        ResultListHost::addChannel(one, 5, "C24", 231000);
        start();
        m_handler->onNotifyResponse(0, ResultListHost::reply(kT, "ISDBT", "13", "60", "30", "0"));
        m_handler->onNotifyResponse(0, ResultListHost::reply(kT, "CATV", "C24", "60", "35", "0"));
        QCOMPARE(text(1, Role::BandRole), QStringLiteral("地デジ(換算)"));
        m_model->setCheckbox(1, true, 1);

        // New plan: 13, 14, 15 (new, position 2), C24 at another frequency.
        one->clearChannelSettings();
        one->clearLatestResults();
        one->clearAlertSettings();
        ResultListHost::addChannel(one, 0, "13", 473142);
        ResultListHost::addChannel(one, 0, "14", 479142);
        ResultListHost::addChannel(one, 0, "15", 485142);
        ResultListHost::addChannel(one, 5, "C24", 233000);
        m_handler->onMeasurementChannelReloading();

        QCOMPARE(column(Role::ChannelRole), QStringList({"13", "13", "14", "15", "C24"}));
        QCOMPARE(text(1, Role::LevelRole), QStringLiteral("60")); // kept, with its check mark
        QCOMPARE(m_model->checkbox(1), 1);
        QCOMPARE(text(4, Role::FrequencyRole), QStringLiteral("233.000"));
        QCOMPARE(text(4, Role::LevelRole), QString()); // replaced by an empty row
        QCOMPARE(column(Role::DisplayRole), QStringList({"true", "false", "false", "false", "false"}));
        QCOMPARE(column(Role::TopDataVisibleRole), QStringList({"true", "true", "false", "false", "false"}));

        // Folded: the next new channel row is shown like its siblings.
        m_handler->onDisplayChange(0);
        one->clearChannelSettings();
        one->clearLatestResults();
        ResultListHost::addChannel(one, 0, "13", 473142);
        ResultListHost::addChannel(one, 0, "14", 479142);
        ResultListHost::addChannel(one, 0, "16", 491142);
        m_handler->onMeasurementChannelReloading();
        QCOMPARE(column(Role::ChannelRole), QStringList({"13", "13", "14", "16"}));
        QCOMPARE(column(Role::DisplayRole), QStringList({"false", "true", "true", "true"}));
    }

    // A device whose address is 0.0.0.0 shows "停止中" after a reload.
    void reloadOfADeviceWithoutAddress()
    {
        LevelChecker *one = m_host->addDevice("A", "0.0.0.0", 161, 0);
        ResultListHost::addChannel(one, 0, "13", 473142);
        start();
        QCOMPARE(text(0, Role::MeasurementStartRole), QStringLiteral("測定中"));
        m_handler->onMeasurementChannelReloading();
        QCOMPARE(column(Role::MeasurementStartRole), QStringList({"停止中", "停止中"}));
    }

    // After the device list shrank, the rows of the numbers beyond it are gone.
    void reloadAfterDevicesWereRemoved()
    {
        for (const char *name : {"A", "B", "C"}) {
            LevelChecker *d = m_host->addDevice(name);
            ResultListHost::addChannel(d, 0, "13", 473142);
        }
        start();
        QCOMPARE(m_model->rowCount(), 6);
        m_host->devices()->clearMonitors();
        m_host->devices()->deleteAllDevices();
        for (const char *name : {"A2", "B2"}) {
            LevelChecker *d = m_host->addDevice(name);
            ResultListHost::addChannel(d, 0, "13", 473142);
        }
        QSignalSpy updates(m_handler, &NotifyResponse::screenUpdate);
        m_handler->onMeasurementChannelReloading();
        QCOMPARE(column(Role::NoRole), QStringList({"1", "1", "2", "2"}));
        QCOMPARE(column(Role::NameRole), QStringList({"A2", "A2", "B2", "B2"}));
        QCOMPARE(m_model->deviceTopRow(0), 0);
        QCOMPARE(m_model->deviceTopRow(1), 2);
        QCOMPARE(m_model->deviceTopRow(2), -1);
        QCOMPARE(lastUpdate(updates, "allCheckBox").flag, false);
        QCOMPARE(lastUpdate(updates, "listCount").number, 2);
    }

    // The same channel twice in a plan keeps two rows, reload after reload.
    void reloadWithAChannelListedTwice()
    {
        LevelChecker *one = m_host->addDevice("A");
        ResultListHost::addChannel(one, 0, "13", 473142);
        ResultListHost::addChannel(one, 0, "13", 473142);
        start();
        QCOMPARE(m_model->rowCount(), 3);
        for (int i = 0; i < 3; ++i)
            m_handler->onMeasurementChannelReloading();
        QCOMPARE(m_model->rowCount(), 3);
        QCOMPARE(column(Role::ChannelRole), QStringList({"13", "13", "13"}));
    }

    // A device registered without its group: its results touch no other device's rows, the
    // sorts keep every row, and the next reload gives it its group.
    void deviceWithoutAGroup()
    {
        LevelChecker *one = m_host->addDevice("A");
        ResultListHost::addChannel(one, 0, "13", 473142);
        start();
        LevelChecker *two = m_host->addDevice("B");
        ResultListHost::addChannel(two, 0, "13", 473142);
        ResultListHost::addChannel(two, 0, "14", 479142);
        const QStringList before = m_host->snapshot();

        m_handler->onNotifyResponse(1, ResultListHost::reply(kT, "ISDBT", "14", "30", "30", "0"));
        m_handler->onNotifyResponse(1, QStringLiteral("Timeout,0\n"));
        QCOMPARE(m_host->snapshot(), before);
        QCOMPARE(two->alertRecordCount(0), 1);   // still judged and logged
        QCOMPARE(two->alertRecordCount(1), 1);
        QVERIFY(QFile::exists(m_host->errorLogPath(2)));
        m_handler->onDeviceNoSort(0);
        QCOMPARE(m_host->snapshot(), before);
        m_handler->onStatusSort(0);
        QCOMPARE(m_host->snapshot(), before);

        m_handler->onMeasurementChannelReloading();
        QCOMPARE(column(Role::NoRole), QStringList({"1", "1", "2", "2", "2"}));
        QCOMPARE(m_model->deviceTopRow(1), 2);
        m_handler->onNotifyResponse(1, ResultListHost::reply(kT, "ISDBT", "14", "60", "30", "0"));
        QCOMPARE(text(4, Role::LevelRole), QStringLiteral("60"));
        QCOMPARE(text(2, Role::LevelRole), QStringLiteral("60"));
        QCOMPARE(text(0, Role::LevelRole), QString());
    }

    // Ticking a top row ticks its channels; unticking one unticks the top row and the
    // "all" box; a placeholder and its top row go together.
    void checkBoxes()
    {
        LevelChecker *one = m_host->addDevice("A");
        for (int k = 0; k < 5; ++k)
            ResultListHost::addChannel(one, 0, QString::number(13 + k), 473142 + 6000 * k);
        m_host->addDevice("B");
        start();
        QSignalSpy updates(m_handler, &NotifyResponse::screenUpdate);
        m_handler->onCheckBoxClicked(0);
        QCOMPARE(column(Role::CheckboxRole), QStringList({"1", "1", "1", "1", "1", "1", "0", "0"}));
        QCOMPARE(lastUpdate(updates, "allCheckBox").flag, false);
        m_handler->onCheckBoxClicked(7); // placeholder of device 2
        QCOMPARE(m_model->checkbox(6), 1);
        QCOMPARE(lastUpdate(updates, "allCheckBox").flag, true);
        m_handler->onCheckBoxClicked(3);
        QCOMPARE(m_model->checkbox(0), 0);
        QCOMPARE(lastUpdate(updates, "allCheckBox").flag, false);
        updates.clear();
        m_handler->onAllCheckBoxClicked(1);
        QCOMPARE(column(Role::CheckboxRole), repeated(8, "1"));
        QCOMPARE(updates.count(), 0);
    }

    void focus()
    {
        LevelChecker *one = m_host->addDevice("A");
        ResultListHost::addChannel(one, 0, "13", 473142);
        ResultListHost::addChannel(one, 0, "14", 479142);
        LevelChecker *two = m_host->addDevice("B");
        ResultListHost::addChannel(two, 0, "13", 473142);
        start();
        m_handler->onFocusChange(0, 0, false);
        QCOMPARE(column(Role::ClickedRole), QStringList({"true", "true", "false", "false", "false"}));
        m_handler->onFocusChange(4, 0, false); // the only channel of device 2
        QCOMPARE(column(Role::ClickedRole), QStringList({"false", "false", "false", "true", "true"}));
        m_handler->onFocusChange(2, 0, true);
        m_handler->onFocusChange(0, 1, true);
        QCOMPARE(column(Role::StatusPopupClickedRole), repeated(5, "false"));
        QCOMPARE(column(Role::ClickedRole), QStringList({"false", "false", "false", "true", "true"}));
    }

    void deviceNumberSort()
    {
        for (const char *name : {"A", "B", "C"}) {
            LevelChecker *d = m_host->addDevice(name);
            ResultListHost::addChannel(d, 0, "13", 473142);
            ResultListHost::addChannel(d, 0, "14", 479142);
        }
        start();
        m_handler->onNotifyResponse(2, ResultListHost::reply(kT, "ISDBT", "14", "60", "30", "0"));
        m_handler->onDeviceNoSort(0);
        QCOMPARE(column(Role::NoRole), QStringList({"3", "3", "3", "2", "2", "2", "1", "1", "1"}));
        QCOMPARE(column(Role::ChannelRole), QStringList({"14", "13", "14", "13", "13", "14", "13", "13", "14"}));
        QCOMPARE(m_model->deviceTopRow(0), 0);
        QCOMPARE(m_model->deviceTopRow(2), 6);
        // The mark stays at its position until the device's next result moves it.
        QVERIFY(flag(8, Role::UpdateDataRole));
        m_handler->onNotifyResponse(2, ResultListHost::reply(kT, "ISDBT", "13", "60", "30", "0"));
        QVERIFY(flag(1, Role::UpdateDataRole));
        QVERIFY(flag(8, Role::UpdateDataRole)); // another device's row: left alone
        m_handler->onDeviceNoSort(1);
        QCOMPARE(column(Role::NoRole), QStringList({"1", "1", "1", "2", "2", "2", "3", "3", "3"}));
    }

    // Devices 1 and 4 out of range (2), 3 silent (3), 5 recovered (1), 2 and 6 without a
    // result (0): every status, two devices sharing one.
    void statusSort_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("normal first") << 1 << QStringList({"2", "6", "5", "1", "4", "3"});
        QTest::newRow("errors first") << 0 << QStringList({"3", "1", "4", "5", "2", "6"});
    }

    void statusSort()
    {
        QFETCH(int, order);
        QFETCH(QStringList, numbers);
        for (const char *name : {"A", "B", "C", "D", "E", "F"}) {
            LevelChecker *d = m_host->addDevice(name);
            ResultListHost::addChannel(d, 0, "13", 473142);
        }
        start();
        for (int f : {0, 3, 4})
            m_handler->onNotifyResponse(f, ResultListHost::reply(kT, "ISDBT", "13", "30", "30", "0"));
        m_handler->onNotifyResponse(4, ResultListHost::reply(kT, "ISDBT", "13", "60", "30", "0"));
        m_handler->onNotifyResponse(2, QStringLiteral("Timeout,0\n"));
        QStringList statuses;
        for (int i = 0; i < 6; ++i)
            statuses << text(m_model->deviceTopRow(i), Role::StatusRole);
        QCOMPARE(statuses, QStringList({"2", "0", "3", "2", "1", "0"}));

        m_handler->onStatusSort(order);
        QStringList tops;
        for (int i = 0; i < 6; ++i)
            tops << text(m_model->deviceTopRow(i), Role::NoRole);
        QCOMPARE(tops, numbers);
        QCOMPARE(m_model->rowCount(), 12);
    }

    void statusPopup()
    {
        LevelChecker *one = m_host->addDevice("A");
        ResultListHost::addChannel(one, 0, "13", 473142);
        ResultListHost::addChannel(one, 0, "14", 479142);
        ResultListHost::addChannel(one, 0, "15", 485142);
        start();
        m_handler->onNotifyResponse(0, ResultListHost::reply(kT, "ISDBT", "13", "30", "30", "0"));
        m_handler->onNotifyResponse(0, QStringLiteral("Timeout,2\n"));
        QCOMPARE(column(Role::ChannelStatusRole), QStringList({"0", "2", "0", "3"}));
        QCOMPARE(m_model->statusErrorCount(), 2);

        QSignalSpy updates(m_handler, &NotifyResponse::screenUpdate);
        m_handler->onStatusPopupCheckBoxClicked(1);
        QCOMPARE(lastUpdate(updates, "popupAllCheckBox").flag, false);
        m_handler->onStatusPopupCheckBoxClicked(3);
        QCOMPARE(lastUpdate(updates, "popupAllCheckBox").flag, true);
        m_handler->onStatusPopupCheckBoxClicked(3);
        QCOMPARE(lastUpdate(updates, "popupAllCheckBox").flag, false);
        m_handler->onStatusPopupAllCheckBoxClicked(0);
        m_handler->onStatusPopupAllCheckBoxClicked(1);
        QCOMPARE(column(Role::StatusPoopupCheckboxRole), QStringList({"0", "1", "0", "1"}));

        m_handler->onStatusErrorReset(1);
        QCOMPARE(value(1, Role::ChannelStatusRole), 0);
        QCOMPARE(value(1, Role::StatusRole), 3);
        QCOMPARE(m_model->checkbox(1), 0);
        QCOMPARE(value(1, Role::StatusPoopupCheckboxRole), 1);
        m_handler->onStatusPopupCheckBoxChange(1, true, 0);
        QCOMPARE(value(1, Role::StatusPoopupCheckboxRole), 0);
    }

private:
    void start()
    {
        m_handler = m_host->createHandler();
        m_model = m_host->model();
        QVERIFY(m_model);
        m_tester.reset(new QAbstractItemModelTester(m_model, QAbstractItemModelTester::FailureReportingMode::QtTest));
    }

    QStringList column(int role) const
    {
        QStringList values;
        for (int r = 0; r < m_model->rowCount(); ++r)
            values << m_model->data(m_model->index(r), role).toString();
        return values;
    }

    static ScreenUpdateValue lastUpdate(const QSignalSpy &spy, const QString &key)
    {
        for (int i = spy.count() - 1; i >= 0; --i) {
            if (spy.at(i).at(0).toString() == key)
                return spy.at(i).at(1).value<ScreenUpdateValue>();
        }
        return ScreenUpdateValue{-1, false, QString()};
    }

    QString text(int row, int role) const { return m_model->data(m_model->index(row), role).toString(); }
    int value(int row, int role) const { return m_model->data(m_model->index(row), role).toInt(); }
    bool flag(int row, int role) const { return m_model->data(m_model->index(row), role).toBool(); }

    std::unique_ptr<ResultListHost> m_host;
    NotifyResponse *m_handler = nullptr;
    MeasureResultModel *m_model = nullptr;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

QTEST_MAIN(TestResultList)
#include "tst_resultlist.moc"
