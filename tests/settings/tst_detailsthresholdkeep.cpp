// ctest-label: settings
// The channel details screen keeps what the operator set: thresholds of channels whose
// names hold a blank and of channels after an unticked one survive visits and an untouched
// "完了"; a device not applied yet gets its plan saved for the apply; the CATV variant
// follows the committed plan as a restart reads it; a BER of "---" can be set again.

#include "DetailsHost.h"

#include <QtTest>

namespace {

// 地デジ 13, CATV上り "UL 1", FM "FM 1", 地デジ 20 measured; 地デジ 14 not.
const QByteArray Plan = "0,13,473143,0,0,0,1\n"
                        "7,UL 1,14000,0,0,0,1\n"
                        "0,14,479143,0,0,0,0\n"
                        "17,FM 1,76000,0,0,0,1\n"
                        "0,20,515143,0,0,0,1\n";
// Every value off its band's default, as a save writes them.
const QByteArray Thresholds = "0,13,40.0,95.0,22.0,3.0E-5,-12.0,1.0,23.0\n"
                              "7,UL 1,61.0,91.0,---,---,-11.0,2.0,---\n"
                              "17,FM 1,21.0,110.0,---,---,-13.0,3.0,---\n"
                              "0,20,41.0,96.0,24.0,4.0E-6,-14.0,4.0,25.0\n";
// The same with a row of 14, measured when the thresholds were saved and unticked since.
const QByteArray ThresholdsWithUnticked = "0,13,40.0,95.0,22.0,3.0E-5,-12.0,1.0,23.0\n"
                                          "7,UL 1,61.0,91.0,---,---,-11.0,2.0,---\n"
                                          "0,14,45.0,85.0,21.0,2.0E-4,-10.0,0.0,20.0\n"
                                          "17,FM 1,21.0,110.0,---,---,-13.0,3.0,---\n"
                                          "0,20,41.0,96.0,24.0,4.0E-6,-14.0,4.0,25.0\n";

} // namespace

class TestDetailsThresholdKeep : public QObject
{
    Q_OBJECT

    std::unique_ptr<DetailsHost> fx;

    // The channel setting screen's "次へ": the working copy from the committed plan.
    void openFromDeviceSetting(int deviceNo)
    {
        const QString committed = fx->planPath(deviceNo, ChannelSettingFile::Copy::Committed);
        const QString pending = fx->planPath(deviceNo, ChannelSettingFile::Copy::Pending);
        const QByteArray plan = TestFiles::readBytes(QFileInfo::exists(pending) ? pending : committed);
        QVERIFY(TestFiles::writeBytes(fx->planPath(deviceNo, ChannelSettingFile::Copy::Working), plan));
        QVERIFY(fx->open(deviceNo, QStringLiteral("受信点"), ScreenDeviceSetting));
        QTRY_COMPARE(fx->topPageName(), QStringLiteral("ChannelDetails"));
    }

    // "完了" clicked with the mouse.
    void clickComplete()
    {
        QQuickItem *button = fx->host->visibleItem(QStringLiteral("nextbutton"));
        QVERIFY(button);
        const QPointF centre = button->mapToScene(QPointF(button->width() / 2, button->height() / 2));
        QTest::mouseClick(fx->host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }

private slots:
    void initTestCase() { QmlMessageGuard::install(); }

    void init()
    {
        fx.reset(new DetailsHost);
        QVERIFY(fx->start());
    }

    void cleanup()
    {
        fx.reset();
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    // Two visits with an untouched "完了" each: every measured channel keeps its thresholds,
    // and the files come out as they went in (the unticked channel's row left out).
    void thresholdsSurviveVisits_data()
    {
        QTest::addColumn<QByteArray>("thresholds");
        QTest::newRow("blanks in names") << Thresholds;
        QTest::newRow("and an unticked channel") << ThresholdsWithUnticked;
    }

    void thresholdsSurviveVisits()
    {
        QFETCH(QByteArray, thresholds);
        QVERIFY(fx->addDevice(QStringLiteral("受信点")));
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Committed, Plan));
        QVERIFY(fx->writeAlert(1, AlertSettingFile::Copy::Committed, DetailsHost::alertHeader() + thresholds));
        const QByteArray planBytes = DetailsHost::planHeader() + Plan;
        const QByteArray expected = DetailsHost::alertHeader() + Thresholds;

        for (int visit = 1; visit <= 2; ++visit) {
            openFromDeviceSetting(1);
            const QList<ChannelDetailsEditRow> rows = fx->details()->shownRows();
            QCOMPARE(rows.size(), 4);
            QCOMPARE(rows.at(0).LevelMin, QStringLiteral("40.0"));
            QCOMPARE(rows.at(0).Ber, QStringLiteral("3.0E-5"));
            QCOMPARE(rows.at(1).ChannelName, QStringLiteral("UL 1"));
            QCOMPARE(rows.at(1).LevelMin, QStringLiteral("61.0"));
            QCOMPARE(rows.at(1).HikariLevelMax, QStringLiteral("2.0"));
            QCOMPARE(rows.at(2).LevelMax, QStringLiteral("110.0"));
            QCOMPARE(rows.at(3).LevelMin, QStringLiteral("41.0"));
            QCOMPARE(rows.at(3).ConvCNR, QStringLiteral("25.0"));
            clickComplete();
            QTRY_COMPARE(fx->topPageName(), QStringLiteral("DeviceSetting"));
            QCOMPARE(TestFiles::readBytes(fx->alertPath(1, AlertSettingFile::Copy::Pending)), expected);
            QCOMPARE(TestFiles::readBytes(fx->planPath(1, ChannelSettingFile::Copy::Pending)), planBytes);
        }
        fx->goHome();
    }

    // A row added on the device setting screen and not applied yet: its details save writes
    // the pending pair that the apply puts into service.
    void deviceNotAppliedYet()
    {
        QVERIFY(fx->addDevice(QStringLiteral("一号")));
        QVERIFY(fx->writePlan(2, ChannelSettingFile::Copy::Working, "0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n"));
        QVERIFY(fx->open(2, QStringLiteral("新規"), ScreenDeviceSetting));
        QTRY_COMPARE(fx->topPageName(), QStringLiteral("ChannelDetails"));
        QCOMPARE(fx->popupText(), QString());
        QSignalSpy popups(fx->details(), &ChannelDetailsViewModel::openPopup);
        fx->send(QString(), QString(), QStringLiteral("detailsLevelMinText"), QStringLiteral("44.0"), QString(), 0);
        clickComplete();
        QTRY_COMPARE(fx->topPageName(), QStringLiteral("DeviceSetting"));
        QCOMPARE(popups.size(), 0);
        QCOMPARE(TestFiles::readBytes(fx->planPath(2, ChannelSettingFile::Copy::Pending)),
                 DetailsHost::planHeader() + "0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n");
        QCOMPARE(TestFiles::readBytes(fx->alertPath(2, AlertSettingFile::Copy::Pending)),
                 DetailsHost::alertHeader() + "0,13,44.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\n");
        QVERIFY(!ChannelSettingFile::exists(2, ChannelSettingFile::Copy::Working));
        QVERIFY(!ChannelSettingFile::exists(2, ChannelSettingFile::Copy::Committed));
        fx->goHome();
    }

    // The CATV variants a details save puts into the device are those a restart reads from
    // the same committed plan: from its measured rows, starting from 0 for each device.
    void catvVariantAsRestartReadsIt_data()
    {
        QTest::addColumn<QByteArray>("plan");
        QTest::addColumn<int>("before");
        QTest::newRow("C24 at 233 MHz not measured") << QByteArray("0,13,473143,0,0,0,1\n5,C24,233000,3,0,0,0\n") << 0;
        QTest::newRow("no C24, device had 1") << QByteArray("0,13,473143,0,0,0,1\n") << 1;
        QTest::newRow("C24 at 233 MHz measured") << QByteArray("0,13,473143,0,0,0,1\n5,C24,233000,3,0,0,1\n") << 0;
    }

    void catvVariantAsRestartReadsIt()
    {
        QFETCH(QByteArray, plan);
        QFETCH(int, before);
        LevelChecker *device = fx->addDevice(QStringLiteral("受信点"));
        QVERIFY(device);
        device->setC24FrequencyType(before);
        device->setCh8FrequencyType(before);
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Working, plan));
        QVERIFY(fx->open(1, QStringLiteral("受信点"), ScreenMeasurementResult));
        clickComplete();
        QTRY_COMPARE(fx->topPageName(), QStringLiteral("MeasurementResult"));
        MeasuredChannelPlan restart;
        QVERIFY(ChannelSettingFile::readMeasured(fx->planPath(1, ChannelSettingFile::Copy::Committed), &restart));
        QCOMPARE(device->c24FrequencyType(), restart.c24FrequencyType);
        QCOMPARE(device->ch8FrequencyType(), restart.ch8FrequencyType);
        fx->goHome();
    }

    // A channel whose BER is "---" on a band that has a BER: the page sends nothing for it
    // by itself, and a BER typed into its row is taken.
    void berBackThroughItsRow()
    {
        QVERIFY(fx->addDevice(QStringLiteral("受信点")));
        QVERIFY(fx->writePlan(1, ChannelSettingFile::Copy::Committed, "0,13,473143,0,0,0,1\n0,20,515143,0,0,0,1\n"));
        QVERIFY(fx->writeAlert(1, AlertSettingFile::Copy::Committed,
                               DetailsHost::alertHeader() + "0,13,47.0,90.0,20.0,---,-10.0,0.0,20.0\n"
                                                            "0,20,47.0,90.0,20.0,---,-10.0,0.0,20.0\n"));
        const int logFrom = fx->root.logLines().size();
        openFromDeviceSetting(1);
        QCOMPARE(fx->details()->shownRows().at(1).Ber, QStringLiteral("---"));
        // The edits a control sends are logged by their text: no BER edit came from the page.
        for (const QString &message : fx->root.logMessages(logFrom))
            QVERIFY2(!message.endsWith(QLatin1String("] .E-")), qPrintable(message));

        QObject *row = fx->pageChild(QStringLiteral("channelRow1"));
        QVERIFY(row);
        auto *input = qobject_cast<QQuickItem *>(DetailsHost::find(row, QStringLiteral("detailsBerTextInput")));
        QVERIFY(input);
        QVERIFY(input->isVisible());
        input->forceActiveFocus();
        QTRY_VERIFY(input->hasActiveFocus());
        QTest::keyClick(fx->host->window, Qt::Key_Home);
        for (const char key : QByteArray("205"))
            QTest::keyClick(fx->host->window, key);
        QCOMPARE(fx->details()->shownRows().at(1).Ber, QStringLiteral("2.0E-5"));
        QCOMPARE(fx->details()->shownRows().at(0).Ber, QStringLiteral("---"));
        clickComplete();
        QTRY_COMPARE(fx->topPageName(), QStringLiteral("DeviceSetting"));
        QCOMPARE(TestFiles::readBytes(fx->alertPath(1, AlertSettingFile::Copy::Pending)),
                 DetailsHost::alertHeader() + "0,13,47.0,90.0,20.0,---,-10.0,0.0,20.0\n"
                                              "0,20,47.0,90.0,20.0,2.0E-5,-10.0,0.0,20.0\n");
        fx->goHome();
    }
};

QTEST_MAIN(TestDetailsThresholdKeep)
#include "tst_detailsthresholdkeep.moc"
