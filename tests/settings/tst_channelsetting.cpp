// ctest-label: settings
// The channel setting screen in the real main window, driven through its page's signals: the
// plan file it opens, ticking within the channel limit, the CATV plans, the frequency checks,
// "次へ" with the working copy and the hand-over, the files removed when it is left, and the
// copy of another device's plan.
#include "screens/FrameHost.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/MeasurementResultViewModel.h"
#include "settings/ChannelSettingViewModel.h"
#include "settings/DeviceSettingViewModel.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "support/ResultListSetup.h"
#include "support/TestFiles.h"

#include <QQuickItem>
#include <QSignalSpy>

namespace {

const QByteArray kHeader =
    "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n";

using Copy = ChannelSettingFile::Copy;

QStringList channelsOf(const QVector<ChannelSettingEntry> &rows)
{
    QStringList names;
    for (const ChannelSettingEntry &row : rows)
        names.append(row.channel);
    return names;
}

QStringList checkedOf(const QVector<ChannelSettingEntry> &rows, int band)
{
    QStringList names;
    for (const ChannelSettingEntry &row : rows) {
        if (row.bandTabIndex == band && row.measuring)
            names.append(row.channel);
    }
    return names;
}

QString frequencyOf(const QVector<ChannelSettingEntry> &rows, int band, const QString &channel)
{
    for (const ChannelSettingEntry &row : rows) {
        if (row.bandTabIndex == band && row.channel == channel)
            return row.frequency;
    }
    return QStringLiteral("(none)");
}

// A plan of one band: channel names with their kHz and measuring flag.
QByteArray bandRows(int band, const QStringList &channels, int firstKHz, int stepKHz, const QStringList &measured,
                    int standard = 0)
{
    QByteArray rows;
    for (int i = 0; i < channels.size(); ++i) {
        rows += QStringLiteral("%1,%2,%3,%4,0,0,%5\n")
                    .arg(band)
                    .arg(channels.at(i))
                    .arg(firstKHz + i * stepKHz)
                    .arg(standard)
                    .arg(measured.contains(channels.at(i)) ? 1 : 0)
                    .toUtf8();
    }
    return rows;
}

QStringList numbered(const QString &prefix, int first, int last)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names.append(prefix + QString::number(i));
    return names;
}

QStringList variantTexts(const QVariant &value)
{
    QStringList texts;
    for (const QVariant &v : value.toList())
        texts.append(v.toString());
    return texts;
}

QList<bool> variantFlags(const QVariant &value)
{
    QList<bool> flags;
    for (const QVariant &v : value.toList())
        flags.append(v.toBool());
    return flags;
}

} // namespace

class TestChannelSetting : public QObject
{
    Q_OBJECT

private:
    FrameRoot root;
    std::unique_ptr<FrameHost> host;
    ChannelSettingViewModel *screen = nullptr;

    QObject *page() const { return host->find(QStringLiteral("ChannelSetting")); }

    QString topPageName() const { return host->currentPageName(); }

    // Registers devices 1..count that are not registered yet, named "受信点N".
    void ensureDevices(int count)
    {
        DeviceList *list = host->app->deviceList();
        for (int no = list->deviceCount() + 1; no <= count; ++no) {
            const quint32 ip = 0x0100007f;
            const QByteArray name = QStringLiteral("受信点%1").arg(no).toUtf8();
            host->app->addDevice(no, name.constData(), "", &ip, 0, nullptr, 0, "08:00", "20:00", 3, "public", 161);
        }
    }

    static bool writePlan(int deviceNo, Copy copy, const QByteArray &rows)
    {
        return TestFiles::writeBytes(ChannelSettingFile::filePath(deviceNo, copy), kHeader + rows);
    }

    // Leaves the screen without its leave rules and removes every plan file but the template.
    void reset()
    {
        host->transit(QStringLiteral("Home.qml"));
        QDir folder(ChannelSettingFile::folderPath());
        for (const QString &name : folder.entryList(QDir::Files)) {
            if (name != QFileInfo(ChannelSettingFile::templatePath()).fileName())
                folder.remove(name);
        }
        QDir alerts(AlertSettingFile::folderPath());
        for (const QString &name : alerts.entryList(QDir::Files))
            alerts.remove(name);
        QVERIFY(TestFiles::installTemplatePlan());
        // Forgets a MER/CN change an earlier case saved.
        screen->onDataPassMerCnr(0, QStringLiteral("MER"), QStringLiteral("MER"), false);
    }

    // Opens the screen for a device as the result list (3) or the device setting screen (4).
    void open(int deviceNo, ScreenId origin)
    {
        screen->onDataPassDeviceData(deviceNo, QStringLiteral("受信点%1").arg(deviceNo), origin);
        host->transit(QStringLiteral("ChannelSetting.qml"));
        QCOMPARE(topPageName(), QStringLiteral("ChannelSetting"));
        QVERIFY(page());
    }

    void band(int group) { QVERIFY(QMetaObject::invokeMethod(page(), "bandChange", Q_ARG(int, group))); }

    void tick(int bandIndex, const QString &channel, bool on)
    {
        QVERIFY(QMetaObject::invokeMethod(page(), "channelSignal", Q_ARG(int, bandIndex), Q_ARG(QString, channel),
                                          Q_ARG(bool, on)));
    }

    void tickColumn(int bandIndex, bool on)
    {
        QVERIFY(QMetaObject::invokeMethod(page(), "allCheckInfo", Q_ARG(int, bandIndex), Q_ARG(bool, on)));
    }

    void typeFrequency(int bandIndex, const QString &channel, const QString &mhz)
    {
        QVERIFY(QMetaObject::invokeMethod(page(), "frequencyChange", Q_ARG(int, bandIndex),
                                          Q_ARG(QString, channel), Q_ARG(QString, mhz)));
    }

    // An item of the page by name, searched in the visual tree: the items a repeater makes
    // have no object parent.
    static QQuickItem *itemNamed(QQuickItem *from, const QString &name)
    {
        if (!from || from->objectName() == name)
            return from;
        for (QQuickItem *child : from->childItems()) {
            if (QQuickItem *found = itemNamed(child, name))
                return found;
        }
        return nullptr;
    }

    // A mouse click on the centre of a control of the page.
    void click(const char *name)
    {
        QQuickItem *item = itemNamed(qobject_cast<QQuickItem *>(page()), QLatin1String(name));
        QVERIFY2(item, name);
        QTRY_VERIFY(item->isVisible() && item->width() > 0);
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }

    void next() { QVERIFY(QMetaObject::invokeMethod(page(), "saveSignal", Q_ARG(bool, true))); }
    void returnButton() { QVERIFY(QMetaObject::invokeMethod(page(), "returnSignal")); }

    static QList<int> popups(const QSignalSpy &spy)
    {
        QList<int> numbers;
        for (const QList<QVariant> &args : spy)
            numbers.append(args.at(0).toInt());
        return numbers;
    }

    bool discardQuestionShown() const
    {
        QObject *popup = page() ? page()->findChild<QObject *>(QStringLiteral("discardPopup")) : nullptr;
        return popup && popup->property("opened").toBool();
    }

    void answerDiscard(bool yes)
    {
        QVERIFY(QMetaObject::invokeMethod(page(), yes ? "changeDestroy" : "notChangeDestroy"));
        QObject *popup = page() ? page()->findChild<QObject *>(QStringLiteral("discardPopup")) : nullptr;
        if (popup)
            QMetaObject::invokeMethod(popup, "close");
    }

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        QVERIFY(root.prepare());
        QVERIFY(TestFiles::installTemplatePlan());
        host.reset(new FrameHost);
        QVERIFY(host->isValid());
        QVERIFY(host->waitForBoot());
        screen = qobject_cast<ChannelSettingViewModel *>(host->frame->viewModelOf(QStringLiteral("ChannelSetting")));
        QVERIFY(screen);
    }

    void init() { reset(); }

    void cleanup()
    {
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }

    // Without registered devices the copy list offers only its notice, which copies nothing.
    void copyListWithoutDevices()
    {
        QCOMPARE(host->app->deviceList()->deviceCount(), 0);
        open(1, ScreenMeasurementResult);
        QCOMPARE(variantTexts(page()->property("filename")), QStringList {"読み込めるファイルがありません"});
        const QStringList before = channelsOf(screen->workingRows());
        QVERIFY(QMetaObject::invokeMethod(page(), "channelFileSelect", Q_ARG(int, 0),
                                          Q_ARG(QString, QStringLiteral("読み込めるファイルがありません"))));
        QCOMPARE(channelsOf(screen->workingRows()), before);
    }

    void fileChoice_data()
    {
        QTest::addColumn<bool>("sub");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("committed");
        QTest::addColumn<bool>("withTemplate");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("compared");
        QTest::newRow("all three") << true << true << true << true << "S" << "C";
        QTest::newRow("sub and committed") << true << false << true << true << "S" << "C";
        QTest::newRow("sub and pending") << true << true << false << true << "S" << "N";
        QTest::newRow("sub only") << true << false << false << true << "S" << "";
        QTest::newRow("pending and committed") << false << true << true << true << "N" << "C";
        QTest::newRow("pending only") << false << true << false << true << "N" << "";
        QTest::newRow("committed only") << false << false << true << true << "C" << "";
        QTest::newRow("template") << false << false << false << true << "13" << "";
        QTest::newRow("nothing") << false << false << false << false << "" << "";
    }

    // The plan edited and the plan compared with follow which copies exist; each copy here
    // names itself in its only terrestrial channel.
    void fileChoice()
    {
        QFETCH(bool, sub);
        QFETCH(bool, pending);
        QFETCH(bool, committed);
        QFETCH(bool, withTemplate);
        QFETCH(QString, edited);
        QFETCH(QString, compared);
        if (sub)
            QVERIFY(writePlan(1, Copy::Working, "0,S,473143,0,0,0,1\n"));
        if (pending)
            QVERIFY(writePlan(1, Copy::Pending, "0,N,473143,0,0,0,1\n"));
        if (committed)
            QVERIFY(writePlan(1, Copy::Committed, "0,C,473143,0,0,0,1\n"));
        if (!withTemplate)
            QVERIFY(QFile::remove(ChannelSettingFile::templatePath()));

        open(1, ScreenMeasurementResult);
        const QStringList names = variantTexts(page()->property("chName1"));
        QCOMPARE(names.value(0), edited);
        QCOMPARE(channelsOf(screen->workingRows()).value(0), edited);
        QCOMPARE(channelsOf(screen->loadedRows()), channelsOf(screen->workingRows()));
        QCOMPARE(channelsOf(screen->committedRows()).value(0), compared);
        QCOMPARE(page()->property("currentfile").toString(), QStringLiteral("機器No.1: 受信点1 を編集中"));
        QCOMPARE(page()->property("maxCheckNum").toInt(), 50);
        if (edited.isEmpty()) {
            // Nothing to edit: the read error is logged, nothing is shown.
            QVERIFY(!root.logLines().filter(QStringLiteral("user_datalogger_setting_template.csv read ERROR")).isEmpty());
            QCOMPARE(page()->property("countCheck").toInt(), 0);
        }
        // Nothing edited: leaving by return to the device setting screen asks nothing.
        screen->onDataPassDeviceData(1, QStringLiteral("受信点1"), ScreenDeviceSetting);
        returnButton();
        QVERIFY(!discardQuestionShown());
        QCOMPARE(topPageName(), QStringLiteral("DeviceSetting"));
    }

    // The limit of 50: a column all-check stops at it without a pop-up, a single tick at it
    // is refused with pop-up 4, an untick works; a plan over the limit refuses every tick of
    // a column and its summary stops at the limit.
    void channelLimit()
    {
        QVERIFY(writePlan(1, Copy::Committed,
                          bandRows(0, numbered(QString(), 13, 62), 473143, 6000, {})
                              + bandRows(5, numbered("C", 13, 22), 111000, 6000, {}, 3)));
        open(1, ScreenMeasurementResult);
        QSignalSpy popupSpy(screen, &ChannelSettingViewModel::openPopup);

        tick(5, QStringLiteral("C13"), true);
        tickColumn(0, true);
        QCOMPARE(checkedOf(screen->workingRows(), 0).size(), 49);
        QCOMPARE(checkedOf(screen->workingRows(), 0).last(), QStringLiteral("61"));
        QVERIFY(popupSpy.isEmpty());
        QCOMPARE(page()->property("countCheck").toInt(), 50);

        tick(0, QStringLiteral("62"), true);
        QCOMPARE(popups(popupSpy), QList<int> {4});
        QVERIFY(!checkedOf(screen->workingRows(), 0).contains(QStringLiteral("62")));
        QObject *message = page()->findChild<QObject *>(QStringLiteral("messagePopup"));
        QVERIFY(message && message->property("opened").toBool());
        QMetaObject::invokeMethod(message, "close");

        tick(0, QStringLiteral("13"), false);
        QCOMPARE(checkedOf(screen->workingRows(), 0).size(), 48);
        QCOMPARE(page()->property("countCheck").toInt(), 49);

        // Over the limit (a plan written elsewhere with 60 ticks).
        host->transit(QStringLiteral("Home.qml"));
        QVERIFY(writePlan(1, Copy::Committed,
                          bandRows(0, numbered(QString(), 13, 72), 473143, 6000, numbered(QString(), 13, 72))
                              + bandRows(5, numbered("C", 13, 16), 111000, 6000, {}, 3)));
        open(1, ScreenMeasurementResult);
        QCOMPARE(page()->property("countCheck").toInt(), 50);
        QCOMPARE(screen->summaryChannels().size(), 50);
        QCOMPARE(screen->summaryChannels().last(), QStringLiteral("62"));
        QCOMPARE(variantTexts(page()->property("bandInfo")).value(0), QStringLiteral("地デジ"));
        popupSpy.clear();
        tickColumn(5, true);
        QCOMPARE(popups(popupSpy), (QList<int> {4, 4, 4, 4}));
        QVERIFY(checkedOf(screen->workingRows(), 5).isEmpty());
        // Unticking one channel still works there, and so does a column untick.
        tick(0, QStringLiteral("72"), false);
        QCOMPARE(checkedOf(screen->workingRows(), 0).size(), 59);
        tickColumn(0, false);
        QVERIFY(checkedOf(screen->workingRows(), 0).isEmpty());
        QCOMPARE(page()->property("countCheck").toInt(), 0);

        // With "ChannelCountFlg" 1 the limit is 100.
        host->transit(QStringLiteral("Home.qml"));
        QVERIFY(ResultListSetup::writeSettings(QStringLiteral("Data"), 0, 1));
        host->app->reloadApplicationSetting();
        open(1, ScreenMeasurementResult);
        QCOMPARE(page()->property("maxCheckNum").toInt(), 100);
        tickColumn(0, true);
        QCOMPARE(checkedOf(screen->workingRows(), 0).size(), 60);
        QVERIFY(page()->property("allcheckState1").toBool());
        QVERIFY(ResultListSetup::writeSettings(QStringLiteral("Data"), 0, 0));
        host->app->reloadApplicationSetting();
    }

    // CATV上り shows its first 7 rows and FM its first 8; the column all-check never touches
    // "UL 8".."UL 12" and "FM 9".."FM 12"; the reset clears them all.
    void skippedRows()
    {
        QVERIFY(writePlan(1, Copy::Committed,
                          bandRows(7, numbered("UL ", 1, 12), 14000, 4000, {"UL 9"})
                              + bandRows(16, {"B1", "B3"}, 2140000, 1000, {})
                              + bandRows(17, numbered("FM ", 1, 12), 76000, 1500, {"FM 10"})));
        open(1, ScreenMeasurementResult);

        band(7);
        QCOMPARE(page()->property("channelNumber").toInt(), 7);
        QCOMPARE(variantTexts(page()->property("chName1")), numbered("UL ", 1, 7));
        QCOMPARE(variantTexts(page()->property("hertz1")).mid(0, 2), (QStringList {"14.00", "18.00"}));
        tickColumn(7, true);
        QCOMPARE(checkedOf(screen->workingRows(), 7), numbered("UL ", 1, 7) << "UL 9");
        tickColumn(7, false);
        QCOMPARE(checkedOf(screen->workingRows(), 7), QStringList {"UL 9"});

        band(16);
        QCOMPARE(page()->property("channelNumber").toInt(), 8);
        QCOMPARE(variantTexts(page()->property("chName1")), (QStringList {"B1", "B3"}));
        QCOMPARE(variantTexts(page()->property("chName2")), numbered("FM ", 1, 8));
        QCOMPARE(variantTexts(page()->property("hertz2")).value(1), QStringLiteral("77.5"));
        tickColumn(17, true);
        QCOMPARE(checkedOf(screen->workingRows(), 17), numbered("FM ", 1, 8) << "FM 10");
        // The FM column's flags cover every FM row of the plan, in plan order.
        QCOMPARE(variantFlags(page()->property("countTrue2")).size(), 12);

        QVERIFY(QMetaObject::invokeMethod(page(), "resetSignal", Q_ARG(bool, true)));
        QVERIFY(checkedOf(screen->workingRows(), 7).isEmpty());
        QVERIFY(checkedOf(screen->workingRows(), 17).isEmpty());
        QCOMPARE(page()->property("countCheck").toInt(), 0);
        QVERIFY(page()->property("checkbutton").toList().isEmpty());
    }

    // The SHB and VHF plans both ways, for ISDB-T and ISDB-C rows; a row of another standard
    // keeps its text; the page's switches follow the plan.
    void catvPlans()
    {
        const QByteArray rows = "5,C24,231143,0,0,0,1\n5,C25,237143,0,0,0,0\n5,C26,243000,3,0,0,0\n"
                                "5,C27,249143,0,0,0,0\n5,8,195000,3,0,0,1\n5,9,201143,0,0,0,0\n"
                                "5,10,207000,3,0,0,0\n5,11,213000,1,0,0,0\n5,12,219143,0,0,0,0\n";
        QVERIFY(writePlan(1, Copy::Committed, rows));
        open(1, ScreenMeasurementResult);
        band(5);
        QVERIFY(!page()->property("shb").toBool());
        QVERIFY(!page()->property("vhf").toBool());
        QCOMPARE(variantTexts(page()->property("hertz1")).value(0), QStringLiteral("231.143"));

        QVERIFY(QMetaObject::invokeMethod(page(), "catvSetting2", Q_ARG(bool, true)));
        QVERIFY(QMetaObject::invokeMethod(page(), "catvSetting4", Q_ARG(bool, true)));
        const QVector<ChannelSettingEntry> on = screen->workingRows();
        QCOMPARE(frequencyOf(on, 5, "C24"), QStringLiteral("233143"));
        QCOMPARE(frequencyOf(on, 5, "C25"), QStringLiteral("239143"));
        QCOMPARE(frequencyOf(on, 5, "C26"), QStringLiteral("245000"));
        QCOMPARE(frequencyOf(on, 5, "C27"), QStringLiteral("251143"));
        QCOMPARE(frequencyOf(on, 5, "8"), QStringLiteral("191000"));
        QCOMPARE(frequencyOf(on, 5, "9"), QStringLiteral("197143"));
        QCOMPARE(frequencyOf(on, 5, "10"), QStringLiteral("203000"));
        QCOMPARE(frequencyOf(on, 5, "11"), QStringLiteral("213000"));
        QCOMPARE(frequencyOf(on, 5, "12"), QStringLiteral("215143"));
        band(5);
        QVERIFY(page()->property("shb").toBool());
        QVERIFY(page()->property("vhf").toBool());
        QVERIFY(page()->findChild<QObject *>(QStringLiteral("shbSetting2"))->property("checked").toBool());

        QVERIFY(QMetaObject::invokeMethod(page(), "catvSetting2", Q_ARG(bool, false)));
        QVERIFY(QMetaObject::invokeMethod(page(), "catvSetting4", Q_ARG(bool, false)));
        const QVector<ChannelSettingEntry> off = screen->workingRows();
        QCOMPARE(frequencyOf(off, 5, "C24"), QStringLiteral("231143"));
        QCOMPARE(frequencyOf(off, 5, "C26"), QStringLiteral("243000"));
        QCOMPARE(frequencyOf(off, 5, "8"), QStringLiteral("195000"));
        QCOMPARE(frequencyOf(off, 5, "12"), QStringLiteral("219143"));
        band(5);
        QVERIFY(!page()->property("shb").toBool());
        QVERIFY(page()->findChild<QObject *>(QStringLiteral("vhfSetting3"))->property("checked").toBool());

        // The SHB walk ends at "C27": a "C24" after it is left alone.
        host->transit(QStringLiteral("Home.qml"));
        QVERIFY(writePlan(1, Copy::Committed, "5,C27,249143,0,0,0,0\n5,C24,231143,0,0,0,0\n"));
        open(1, ScreenMeasurementResult);
        QVERIFY(QMetaObject::invokeMethod(page(), "catvSetting2", Q_ARG(bool, true)));
        QCOMPARE(frequencyOf(screen->workingRows(), 5, "C27"), QStringLiteral("251143"));
        QCOMPARE(frequencyOf(screen->workingRows(), 5, "C24"), QStringLiteral("231143"));
    }

    void frequencies_data()
    {
        QTest::addColumn<int>("bandIndex");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("popup");
        QTest::newRow("UL 10.05") << 7 << "UL 1" << "10.05" << "10050" << 0;
        QTest::newRow("UL 10.07") << 7 << "UL 1" << "10.07" << "10070" << 2;
        QTest::newRow("UL 9.95") << 7 << "UL 1" << "9.95" << "995" << 5;
        QTest::newRow("UL 60.05") << 7 << "UL 1" << "60.05" << "60050" << 5;
        QTest::newRow("UL 60") << 7 << "UL 1" << "60" << "60000" << 0;
        QTest::newRow("UL 100") << 7 << "UL 1" << "100" << "100000" << 5;
        QTest::newRow("PILOT 100.25") << 18 << "PILOT1" << "100.25" << "100250" << 0;
        QTest::newRow("PILOT 100.2") << 18 << "PILOT1" << "100.2" << "100200" << 3;
        QTest::newRow("PILOT 996.25") << 18 << "PILOT1" << "996.25" << "996250" << 5;
        QTest::newRow("PILOT 70") << 18 << "PILOT1" << "70" << "70000" << 0;
        QTest::newRow("FM 70.0") << 17 << "FM 1" << "70.0" << "70000" << 0;
        QTest::newRow("FM 82.3") << 17 << "FM 1" << "82.3" << "82300" << 0;
        QTest::newRow("FM 95.0") << 17 << "FM 1" << "95.0" << "95000" << 0;
        QTest::newRow("FM 95") << 17 << "FM 1" << "95" << "95000" << 0;
        QTest::newRow("FM 69.9") << 17 << "FM 1" << "69.9" << "69900" << 5;
        QTest::newRow("FM 95.1") << 17 << "FM 1" << "95.1" << "95100" << 5;
        QTest::newRow("unknown channel") << 17 << "FM 99" << "80.0" << "(none)" << 0;
    }

    // The typed MHz text is stored as kHz text even when its check fails.
    void frequencies()
    {
        QFETCH(int, bandIndex);
        QFETCH(QString, channel);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(int, popup);
        open(1, ScreenMeasurementResult); // the template plan
        QSignalSpy popupSpy(screen, &ChannelSettingViewModel::openPopup);
        typeFrequency(bandIndex, channel, typed);
        QCOMPARE(frequencyOf(screen->workingRows(), bandIndex, channel), stored);
        QCOMPARE(popups(popupSpy), popup ? QList<int> {popup} : QList<int> {});
        if (stored != QLatin1String("(none)"))
            QCOMPARE(screen->lastCheckOk(), popup == 0);
    }

    // Two ticked FM channels on one frequency: pop-up 1 names both, the earlier first; the
    // tick that makes the pair stays.
    void duplicateFrequency()
    {
        open(1, ScreenMeasurementResult);
        tick(17, QStringLiteral("FM 2"), true);
        tick(17, QStringLiteral("FM 3"), true);
        QSignalSpy popupSpy(screen, &ChannelSettingViewModel::openPopup);
        typeFrequency(17, QStringLiteral("FM 3"), QStringLiteral("77.5")); // FM 2's frequency
        QCOMPARE(popups(popupSpy), QList<int> {1});
        QCOMPARE(page()->property("popupmsg").toString(), QStringLiteral("FM 2 と FM 3"));
        QObject *message = page()->findChild<QObject *>(QStringLiteral("messagePopup"));
        QVERIFY(message && message->property("opened").toBool());
        QObject *text = message->findChild<QObject *>(QStringLiteral("messagePopupText"));
        QVERIFY(text);
        QCOMPARE(text->property("text").toString(), QStringLiteral("FM 2 と FM 3の\n周波数が重複しています。"));
        QMetaObject::invokeMethod(message, "close");
        QVERIFY(!screen->lastCheckOk());

        // Ticking a third channel onto the same frequency keeps the tick.
        typeFrequency(17, QStringLiteral("FM 4"), QStringLiteral("77.5"));
        popupSpy.clear();
        tick(17, QStringLiteral("FM 4"), true);
        QCOMPARE(popups(popupSpy), QList<int> {1});
        QVERIFY(checkedOf(screen->workingRows(), 17).contains(QStringLiteral("FM 4")));
        // "次へ" refuses the pair.
        popupSpy.clear();
        next();
        QCOMPARE(popups(popupSpy), QList<int> {1});
        QVERIFY(!ChannelSettingFile::exists(1, Copy::Working));
    }

    // "次へ": every ticked row is checked first; then the working copy holds the whole plan,
    // and the device, its name, the origin and the MER/CN modes go on to the details screen.
    void nextWritesWorkingCopy()
    {
        ensureDevices(1);
        QVERIFY(writePlan(1, Copy::Committed,
                          "0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n5,C24,231000,3,0,0,0\n"
                          "7,UL 1,14000,0,0,0,0\n8,JD1,11727000,0,10678000,1,0\n"));
        auto *device = qobject_cast<DeviceSettingViewModel *>(host->frame->viewModelOf(QStringLiteral("DeviceSetting")));
        QVERIFY(device);
        emit device->dataPassMerCnr(1, QStringLiteral("MER"), QStringLiteral("MER"), false);
        emit device->dataPassDeviceData(1, QStringLiteral("受信点1"), ScreenDeviceSetting);
        host->transit(QStringLiteral("ChannelSetting.qml"));
        QVERIFY(page());
        QVERIFY(page()->findChild<QObject *>(QStringLiteral("radioButton5"))->property("checked").toBool());

        QSignalSpy popupSpy(screen, &ChannelSettingViewModel::openPopup);
        QSignalSpy screenData(screen, &ChannelSettingViewModel::dataPassScreenData);
        QSignalSpy merCn(screen, &ChannelSettingViewModel::dataPassMerCnr);
        tick(0, QStringLiteral("13"), false);
        tick(0, QStringLiteral("14"), true);
        tick(8, QStringLiteral("JD1"), true);
        tick(7, QStringLiteral("UL 1"), true);
        typeFrequency(7, QStringLiteral("UL 1"), QStringLiteral("10.07"));
        QVERIFY(QMetaObject::invokeMethod(page(), "convertMerCnr", Q_ARG(int, 5), Q_ARG(QString, QStringLiteral("換算CN"))));
        popupSpy.clear();

        // A ticked frequency off its step: pop-up 2, nothing written, nothing handed over.
        next();
        QCOMPARE(popups(popupSpy), QList<int> {2});
        QVERIFY(!ChannelSettingFile::exists(1, Copy::Working));
        QVERIFY(screenData.isEmpty());
        QCOMPARE(topPageName(), QStringLiteral("ChannelSetting"));

        typeFrequency(7, QStringLiteral("UL 1"), QStringLiteral("10.05"));
        next();
        QCOMPARE(TestFiles::readBytes(ChannelSettingFile::filePath(1, Copy::Working)),
                 kHeader
                     + QByteArray("0,13,473143,0,0,0,0\n0,14,479143,0,0,0,1\n5,C24,231000,3,0,0,0\n"
                                  "7,UL 1,10050,0,0,0,1\n8,JD1,11727000,0,10678000,1,1\n"));
        QCOMPARE(screenData.size(), 1);
        QCOMPARE(screenData.at(0).at(0).toInt(), 1);
        QCOMPARE(screenData.at(0).at(1).toString(), QStringLiteral("受信点1"));
        QCOMPARE(screenData.at(0).at(2).value<ScreenId>(), ScreenDeviceSetting);
        QCOMPARE(merCn.size(), 1);
        QCOMPARE(merCn.at(0).at(1).toString(), QStringLiteral("MER"));
        QCOMPARE(merCn.at(0).at(2).toString(), QStringLiteral("CNR"));
        QVERIFY(merCn.at(0).at(3).toBool());
        QTRY_COMPARE(topPageName(), QStringLiteral("ChannelDetails"));
        // The committed plan is untouched.
        QVERIFY(TestFiles::readBytes(ChannelSettingFile::filePath(1)).contains("0,13,473143,0,0,0,1\n"));

        // Back from the details screen: the working copy is read, the MER/CN change stays
        // pending, so leaving asks.
        host->transit(QStringLiteral("ChannelSetting.qml"));
        QCOMPARE(checkedOf(screen->workingRows(), 0), QStringList {"14"});
        QVERIFY(screen->merCnChanged());
        returnButton();
        QVERIFY(discardQuestionShown());
        answerDiscard(true);
        QCOMPARE(topPageName(), QStringLiteral("DeviceSetting"));
        QVERIFY(!ChannelSettingFile::exists(1, Copy::Working));
    }

    // "次へ" with nothing ticked writes every row unticked; a working copy that cannot be
    // written, or a plan without rows, stops it with a pop-up.
    void nextRefusals()
    {
        QVERIFY(writePlan(2, Copy::Committed, "0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n"));
        open(2, ScreenMeasurementResult);
        QSignalSpy popupSpy(screen, &ChannelSettingViewModel::openPopup);
        QSignalSpy screenData(screen, &ChannelSettingViewModel::dataPassScreenData);

        // A folder where the working copy belongs: it cannot be written.
        QVERIFY(QDir().mkpath(ChannelSettingFile::filePath(2, Copy::Working)));
        next();
        QCOMPARE(popups(popupSpy), QList<int> {10});
        QVERIFY(screenData.isEmpty());
        QCOMPARE(topPageName(), QStringLiteral("ChannelSetting"));
        QVERIFY(QDir(ChannelSettingFile::filePath(2, Copy::Working)).removeRecursively());

        tickColumn(0, false);
        next();
        QCOMPARE(TestFiles::readBytes(ChannelSettingFile::filePath(2, Copy::Working)),
                 kHeader + QByteArray("0,13,473143,0,0,0,0\n0,14,479143,0,0,0,0\n"));
        QCOMPARE(screenData.size(), 1);
        QTRY_COMPARE(topPageName(), QStringLiteral("ChannelDetails"));

        // No plan at all (no file, no template): the details screen is not opened.
        reset();
        QVERIFY(QFile::remove(ChannelSettingFile::templatePath()));
        open(3, ScreenMeasurementResult);
        popupSpy.clear();
        screenData.clear();
        next();
        QCOMPARE(popups(popupSpy), QList<int> {11});
        QVERIFY(screenData.isEmpty());
        QVERIFY(!ChannelSettingFile::exists(3, Copy::Working));
        QCOMPARE(topPageName(), QStringLiteral("ChannelSetting"));
    }

    void removalWhenLeaving_data()
    {
        QTest::addColumn<int>("origin");
        QTest::addColumn<bool>("home");
        QTest::addColumn<bool>("pendingPair");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("pendingKept");
        // origin, HOME, pending pair exists, edited, asks, page after, pending pair kept
        QTest::newRow("return to device setting") << 4 << false << true << false << false << "DeviceSetting" << true;
        QTest::newRow("return to result list") << 3 << false << false << false << false << "MeasurementResult" << false;
        QTest::newRow("return to result list, pending pair") << 3 << false << true << false << true << "MeasurementResult" << false;
        QTest::newRow("home from result list") << 3 << true << false << false << false << "Home" << false;
        QTest::newRow("home from device setting") << 4 << true << false << false << false << "Home" << false;
        QTest::newRow("home, pending pair") << 4 << true << true << false << true << "Home" << false;
        QTest::newRow("return edited, device setting") << 4 << false << true << true << true << "DeviceSetting" << true;
        QTest::newRow("home edited") << 3 << true << false << true << true << "Home" << false;
    }

    // Which of the working copy, pending plan and pending thresholds go when the screen is
    // left, and when it asks first.
    void removalWhenLeaving()
    {
        QFETCH(int, origin);
        QFETCH(bool, home);
        QFETCH(bool, pendingPair);
        QFETCH(bool, edited);
        QFETCH(bool, asks);
        QFETCH(QString, target);
        QFETCH(bool, pendingKept);
        const QByteArray plan = "0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n";
        QVERIFY(writePlan(4, Copy::Committed, plan));
        QVERIFY(writePlan(4, Copy::Working, plan));
        if (pendingPair) {
            QVERIFY(writePlan(4, Copy::Pending, plan));
            QVERIFY(TestFiles::writeBytes(AlertSettingFile::filePath(4, AlertSettingFile::Copy::Pending),
                                          AlertSettingFile::headerLine().toUtf8() + "\n"));
        }
        open(4, ScreenId(origin));
        if (edited)
            tick(0, QStringLiteral("14"), true);

        if (asks) {
            // "いいえ" keeps everything and the screen; then the same way again, "はい".
            if (home)
                host->frame->onHomeButtonClicked();
            else
                returnButton();
            QVERIFY(discardQuestionShown());
            answerDiscard(false);
            QCOMPARE(topPageName(), QStringLiteral("ChannelSetting"));
            QVERIFY(ChannelSettingFile::exists(4, Copy::Working));
            QCOMPARE(ChannelSettingFile::exists(4, Copy::Pending), pendingPair);
        }
        if (home)
            host->frame->onHomeButtonClicked();
        else
            returnButton();
        QCOMPARE(discardQuestionShown(), asks);
        if (asks)
            answerDiscard(true);
        QTRY_COMPARE(topPageName(), target);
        QVERIFY(!ChannelSettingFile::exists(4, Copy::Working));
        QCOMPARE(ChannelSettingFile::exists(4, Copy::Pending), pendingPair && pendingKept);
        QCOMPARE(AlertSettingFile::exists(4, AlertSettingFile::Copy::Pending), pendingPair && pendingKept);
        QVERIFY(ChannelSettingFile::exists(4, Copy::Committed));
    }

    // "いいえ" forgets the return: HOME then takes the home path.
    void noThenHome()
    {
        QVERIFY(writePlan(4, Copy::Committed, "0,13,473143,0,0,0,0\n"));
        open(4, ScreenDeviceSetting);
        tick(0, QStringLiteral("13"), true);
        returnButton();
        QVERIFY(discardQuestionShown());
        answerDiscard(false);
        host->frame->onHomeButtonClicked();
        QVERIFY(discardQuestionShown());
        answerDiscard(true);
        QTRY_COMPARE(topPageName(), QStringLiteral("Home"));

        // A return before any device was handed over does nothing.
        screen->onDataPassDeviceData(4, QStringLiteral("受信点4"), ScreenNone);
        host->transit(QStringLiteral("ChannelSetting.qml"));
        returnButton();
        QVERIFY(!discardQuestionShown());
        QCOMPARE(topPageName(), QStringLiteral("ChannelSetting"));
    }

    // Opened from the result list the MER/CN modes are the device's; switching only them is
    // a change.
    void merCnFromDevice()
    {
        ensureDevices(1);
        LevelChecker *device = host->app->deviceList()->device(0);
        device->setTerrestrialMerCn(1);
        device->setCatvMerCn(0);
        QVERIFY(writePlan(1, Copy::Committed, "0,13,473143,0,0,0,1\n5,C24,231000,3,0,0,0\n"));
        host->transit(QStringLiteral("MeasurementResult.qml"));
        open(1, ScreenMeasurementResult);
        QCOMPARE(screen->terrestrialMerCn(), QStringLiteral("CNR"));
        QCOMPARE(screen->catvMerCn(), QStringLiteral("MER"));
        QVERIFY(!screen->merCnChanged());
        QVERIFY(page()->findChild<QObject *>(QStringLiteral("radioButton6"))->property("checked").toBool());
        band(5);
        QVERIFY(page()->findChild<QObject *>(QStringLiteral("radioButton5"))->property("checked").toBool());

        QVERIFY(!screen->changesPending());
        QVERIFY(QMetaObject::invokeMethod(page(), "convertMerCnr", Q_ARG(int, 0), Q_ARG(QString, QStringLiteral("MER"))));
        QVERIFY(screen->changesPending());
        returnButton();
        QVERIFY(discardQuestionShown());
        answerDiscard(false);
        QVERIFY(QMetaObject::invokeMethod(page(), "convertMerCnr", Q_ARG(int, 0), Q_ARG(QString, QStringLiteral("換算CN"))));
        QVERIFY(!screen->changesPending());

        // The CATV mode alone, switched with its own radio button on the CATV band.
        click("groupButton5");
        QTRY_COMPARE(page()->property("bandSelect").toInt(), 5);
        click("radioButton6");
        QTRY_VERIFY(page()->findChild<QObject *>(QStringLiteral("radioButton6"))->property("checked").toBool());
        QVERIFY(screen->changesPending());
        returnButton();
        QVERIFY(discardQuestionShown());
        answerDiscard(false);
        click("radioButton5");
        QTRY_VERIFY(page()->findChild<QObject *>(QStringLiteral("radioButton5"))->property("checked").toBool());
        QVERIFY(!screen->changesPending());
    }

    // The devices with a committed plan are offered; choosing one loads its plan whole, which
    // leaving counts as a change, also when it is shorter than the plan opened.
    void copyPlan()
    {
        ensureDevices(3);
        QVERIFY(writePlan(1, Copy::Committed, "0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n5,C24,231000,3,0,0,0\n"));
        QVERIFY(writePlan(3, Copy::Committed, "0,13,473143,0,0,0,0\n0,14,479143,0,0,0,1\n"));
        open(2, ScreenDeviceSetting); // the template plan
        const QStringList labels {QStringLiteral("機器No.1\u3000 受信点1"), QStringLiteral("機器No.3\u3000 受信点3")};
        QCOMPARE(variantTexts(page()->property("filename")), labels);
        QCOMPARE(screen->fileNames(), (QStringList {"1.csv", "3.csv"}));
        const int templateRows = screen->workingRows().size();
        QVERIFY(templateRows > 300);

        QVERIFY(QMetaObject::invokeMethod(page(), "channelFileSelect", Q_ARG(int, 0), Q_ARG(QString, labels.at(1))));
        QCOMPARE(channelsOf(screen->workingRows()), (QStringList {"13", "14"}));
        QCOMPARE(screen->loadedRows().size(), templateRows);
        QCOMPARE(variantTexts(page()->property("chName1")), (QStringList {"13", "14"}));
        QCOMPARE(variantTexts(page()->property("checkbutton")), QStringList {"14"});
        QCOMPARE(page()->property("countCheck").toInt(), 1);
        QVERIFY(screen->changesPending());
        returnButton();
        QVERIFY(discardQuestionShown());
        answerDiscard(false);

        // "次へ" hands the copied plan on as this device's working copy.
        next();
        QCOMPARE(TestFiles::readBytes(ChannelSettingFile::filePath(2, Copy::Working)),
                 kHeader + QByteArray("0,13,473143,0,0,0,0\n0,14,479143,0,0,0,1\n"));
        QTRY_COMPARE(topPageName(), QStringLiteral("ChannelDetails"));
    }

    // Plans of different lengths differ; rows beyond the shorter one are never read.
    void planComparison()
    {
        QVector<ChannelSettingEntry> longer(3);
        QVector<ChannelSettingEntry> shorter(2);
        QVERIFY(ChannelSettingFile::plansDiffer(longer, shorter));
        QVERIFY(ChannelSettingFile::plansDiffer(shorter, longer));
        QVERIFY(!ChannelSettingFile::plansDiffer(shorter, shorter));
        QVector<ChannelSettingEntry> other = shorter;
        other[1].powerSupply = 1;
        other[1].broadbandSystem = 3;
        QVERIFY(!ChannelSettingFile::plansDiffer(shorter, other));
        other[1].localFrequency = 10678000;
        QVERIFY(ChannelSettingFile::plansDiffer(shorter, other));

        // A shorter working copy than the committed plan asks before it is left.
        QVERIFY(writePlan(1, Copy::Committed, "0,13,473143,0,0,0,1\n0,14,479143,0,0,0,0\n"));
        QVERIFY(writePlan(1, Copy::Working, "0,13,473143,0,0,0,1\n"));
        open(1, ScreenDeviceSetting);
        returnButton();
        QVERIFY(discardQuestionShown());
        answerDiscard(true);
        QCOMPARE(topPageName(), QStringLiteral("DeviceSetting"));
    }

    void cleanupTestCase()
    {
        host.reset();
    }
};

QTEST_MAIN(TestChannelSetting)
#include "tst_channelsetting.moc"
