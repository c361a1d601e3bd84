// ctest-label: resultlist
// The result list screen with its real page offscreen: opening, ticking, folding, both
// sorts, the status popup and error reset with their work-history lines, leaving for other
// screens, messages of start and stop, and the saves as the operator runs them.

#include "ResultListFixture.h"

#include <QQuickWindow>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
using Role = MeasureResultModel::Role;

void collectShown(QQuickItem *item, const QString &name, QList<QQuickItem *> *found)
{
    if (!item->isVisible() || item->height() <= 0)
        return;
    if (item->objectName() == name)
        found->append(item);
    for (QQuickItem *child : item->childItems())
        collectShown(child, name, found);
}

// Items of the page with this object name that are shown, top to bottom. List rows are
// found through the item tree: the list, not the page, owns them.
QList<QQuickItem *> shownItems(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> found;
    collectShown(root, name, &found);
    std::sort(found.begin(), found.end(), [](QQuickItem *a, QQuickItem *b) {
        return a->mapToScene(QPointF()).y() < b->mapToScene(QPointF()).y();
    });
    return found;
}

// The model rows of the shown items, top to bottom, read from their list rows.
QList<int> rowsOf(const QList<QQuickItem *> &items)
{
    QList<int> rows;
    for (QQuickItem *item : items) {
        QQuickItem *up = item;
        while (up && !up->property("dataListRowNo").isValid())
            up = up->parentItem();
        rows.append(up ? up->property("dataListRowNo").toInt() : -1);
    }
    return rows;
}

// True once the list has placed the items one row below the other.
bool laidOut(const QList<QQuickItem *> &items)
{
    for (int i = 1; i < items.size(); ++i) {
        if (items.at(i)->mapToScene(QPointF()).y() - items.at(i - 1)->mapToScene(QPointF()).y() < 20)
            return false;
    }
    return true;
}

void click(QQuickItem *item)
{
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(item->window(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}
} // namespace

class TestResultListScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The page's file dialog keeps its settings under these names.
        QCoreApplication::setOrganizationName(QStringLiteral("VELMORA"));
        QCoreApplication::setOrganizationDomain(QStringLiteral("velmora.example"));
    }

    void init()
    {
        m_fx.reset(new ResultListFixture);
        QVERIFY(m_fx->prepare());
        // Rows: device 1 at 0 (channels 1-3), device 2 at 4 (5), device 3 at 6 (7-8).
        LevelChecker *one = m_fx->addDevice(QStringLiteral("本社"), QStringLiteral("127.0.0.2"), 0);
        ResultListFixture::addChannel(one, 0, QStringLiteral("13"), 473143);
        ResultListFixture::addChannel(one, 0, QStringLiteral("21"), 521143);
        ResultListFixture::addChannel(one, 1, QStringLiteral("BS1"), 1049480);
        LevelChecker *two = m_fx->addDevice(QStringLiteral("支社"), QStringLiteral("127.0.0.3"));
        ResultListFixture::addChannel(two, 5, QStringLiteral("C24"), 231000, 0, QStringLiteral("3"));
        LevelChecker *three = m_fx->addDevice(QStringLiteral("中継局"), QStringLiteral("127.0.0.4"));
        ResultListFixture::addChannel(three, 8, QStringLiteral("CH1"), 1000000, 11200000);
        ResultListFixture::addChannel(three, 4, QStringLiteral("CH2"), 1613810);
        m_handler = m_fx->createHandler();
        m_view = m_fx->createViewModel();
        m_model = m_fx->model();
        QVERIFY(m_model);
        QCOMPARE(m_model->rowCount(), 9);
        m_messages.reset(new QSignalSpy(m_view, &MeasurementResultViewModel::messagePopupOpen));
    }

    void cleanup()
    {
        m_messages.reset();
        m_fx.reset();
    }

    // Opening writes the shown rows, the zoom, whether something measures and the screen's
    // work-history line; a zoom reaches the page only while it is shown.
    void openingShowsThePageState()
    {
        m_fx->app()->setDialogScale(1.5);
        QQuickItem *page = m_fx->showPage();
        QVERIFY(page);
        QCOMPARE(page->property("listCount").toInt(), 3);
        QCOMPARE(page->property("scaling").toDouble(), 1.5);
        QCOMPARE(page->property("measurementSaveText").toBool(), true);
        QCOMPARE(ResultListFixture::workLogEntries(), QStringList {QStringLiteral(",測定結果 一覧画面へ遷移")});

        m_view->onChangeDialogScaleNotify(2.0);
        QCOMPARE(page->property("scaling").toDouble(), 2.0);
        m_fx->leavePage();
        m_view->onChangeDialogScaleNotify(0.5);
        m_handler->onListCountUpdate();

        page = m_fx->showPage();
        QCOMPARE(page->property("scaling").toDouble(), 1.5);
        m_handler->onMeasurementStartSet(0, 0);
        m_handler->onMeasurementStartSet(1, 0);
        m_fx->leavePage();
        page = m_fx->showPage();
        QCOMPARE(page->property("measurementSaveText").toBool(), false);
    }

    // After leaving and coming back several times, each page signal arrives once.
    void everyPageSignalIsConnectedOnce()
    {
        for (int i = 0; i < 3; ++i) {
            QVERIFY(m_fx->showPage());
            m_fx->leavePage();
        }
        QQuickItem *page = m_fx->showPage();
        QVERIFY(QMetaObject::invokeMethod(page, "measurementSelectStartStop", Q_ARG(bool, true), Q_ARG(bool, false)));
        QCOMPARE(ResultListFixture::logLines(QStringLiteral("MeasurementResultViewModel"))
                     .count(QStringLiteral("一括測定　開始")),
                 1);
        QVERIFY(QMetaObject::invokeMethod(page, "comboboxChange", Q_ARG(QString, QStringLiteral("deviceNoCombobox")),
                                          Q_ARG(QString, QStringLiteral("降順"))));
        QCOMPARE(m_model->row(0).no, QStringLiteral("3"));
    }

    // Ticks by mouse on the real page: a device's box ticks its block; every block ticked
    // sets "全選択"; clearing one channel box unticks its device and "全選択" at once.
    void tickingByMouse()
    {
        QQuickItem *page = m_fx->showPage();
        auto *window = qobject_cast<QQuickWindow *>(m_fx->window());
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        QList<QQuickItem *> boxes;
        QTRY_VERIFY(laidOut(boxes = shownItems(page, QStringLiteral("rowCheckBox"))));
        QCOMPARE(rowsOf(boxes), (QList<int> {0, 4, 6}));
        click(boxes.at(0));
        for (int r = 0; r <= 3; ++r)
            QCOMPARE(m_model->row(r).checkbox, 1);
        QCOMPARE(m_model->row(4).checkbox, 0);
        QCOMPARE(page->property("allCheckBox").toBool(), false);
        click(boxes.at(1));
        click(boxes.at(2));
        QCOMPARE(page->property("allCheckBox").toBool(), true);

        // Unfold device 1 by its number cell, then clear its second channel.
        QList<QQuickItem *> arrows = shownItems(page, QStringLiteral("foldArrow"));
        QVERIFY(!arrows.isEmpty());
        click(arrows.at(0));
        QCOMPARE(page->property("listCount").toInt(), 5);
        QTRY_VERIFY(laidOut(boxes = shownItems(page, QStringLiteral("rowCheckBox"))) && boxes.size() == 5);
        QCOMPARE(rowsOf(boxes), (QList<int> {1, 2, 3, 4, 6}));
        click(boxes.at(1));
        QCOMPARE(m_model->row(2).checkbox, 0);
        QCOMPARE(m_model->row(0).checkbox, 0);
        QCOMPARE(page->property("allCheckBox").toBool(), false);
        click(boxes.at(1));
        QCOMPARE(m_model->row(0).checkbox, 1);
        QCOMPARE(page->property("allCheckBox").toBool(), true);
    }

    // A click with the fold flag on a row with the device's controls folds or unfolds the
    // block; any other click only highlights.
    void folding()
    {
        QQuickItem *page = m_fx->showPage();
        emitList(page, "rowSelectionSingleClicke", 0, 1);
        QCOMPARE(m_model->row(0).display, false);
        for (int r = 1; r <= 3; ++r)
            QVERIFY(m_model->row(r).display);
        QCOMPARE(page->property("listCount").toInt(), 5);
        QVERIFY(m_model->row(0).clicked && m_model->row(1).clicked);

        emitList(page, "rowSelectionSingleClicke", 1, 1);
        QCOMPARE(m_model->row(0).display, true);
        QCOMPARE(m_model->row(1).display, false);
        QCOMPARE(page->property("listCount").toInt(), 3);

        emitList(page, "rowSelectionSingleClicke", 4, 0);
        QCOMPARE(m_model->row(4).display, true);
        QCOMPARE(m_model->row(5).display, false);
        QVERIFY(m_model->row(4).clicked);
        QVERIFY(!m_model->row(0).clicked);
        QCOMPARE(page->property("listCount").toInt(), 3);

        // Rows that are not rows of the list change nothing.
        emitList(page, "rowSelectionSingleClicke", 99, 1);
        emitList(page, "rowSelectionSingleClicke", -1, 1);
        QCOMPARE(page->property("listCount").toInt(), 3);
    }

    // Both sorts through the page's sort boxes.
    void sorting()
    {
        QQuickItem *page = m_fx->showPage();
        setChannelStatus(2, 3);
        setChannelStatus(7, 1);
        m_handler->onDeviceStatusColorUpdate(0);
        m_handler->onDeviceStatusColorUpdate(2);

        QObject *byNumber = page->findChild<QObject *>(QStringLiteral("deviceNoCombobox"));
        QObject *byStatus = page->findChild<QObject *>(QStringLiteral("statusCombobox"));
        QVERIFY(byNumber && byStatus);

        QVERIFY(QMetaObject::invokeMethod(byNumber, "activated", Q_ARG(int, 1)));
        QCOMPARE(blockOrder(), (QStringList {"3", "3", "3", "2", "2", "1", "1", "1", "1"}));
        QCOMPARE(m_model->row(1).channel, QStringLiteral("CH1"));

        QVERIFY(QMetaObject::invokeMethod(byStatus, "activated", Q_ARG(int, 1)));
        QCOMPARE(blockOrder(), (QStringList {"1", "1", "1", "1", "3", "3", "3", "2", "2"}));
        QVERIFY(QMetaObject::invokeMethod(byStatus, "activated", Q_ARG(int, 0)));
        QCOMPARE(blockOrder(), (QStringList {"2", "2", "3", "3", "3", "1", "1", "1", "1"}));
        QVERIFY(QMetaObject::invokeMethod(byNumber, "activated", Q_ARG(int, 0)));
        QCOMPARE(blockOrder(), (QStringList {"1", "1", "1", "1", "2", "2", "3", "3", "3"}));
    }

    // The status button selects the first error row of the whole list; a popup row shows
    // its own channel's messages; a message update re-reads the selected row.
    void statusPopup()
    {
        QQuickItem *page = m_fx->showPage();
        LevelChecker *one = m_fx->devices()->device(0);
        setChannelStatus(1, 2);
        setChannelStatus(2, 3);
        setChannelStatus(8, 1);
        one->addErrorMessage(QStringLiteral("first\nline\n\n"), 0);
        one->addErrorMessage(QStringLiteral("second\n\n"), 0);
        one->addErrorMessage(QStringLiteral("other\n\n"), 1);

        emitList(page, "statusButton", 6, 0);
        QCOMPARE(m_view->currentStatusRow(), 1);
        QCOMPARE(page->property("errorMessage").toString(), QStringLiteral("first\nline\n\nsecond\n\n"));
        QCOMPARE(page->property("popupErrorMessageRow").toInt(), 5);
        QCOMPARE(page->property("popupListCount").toInt(), 3);
        QVERIFY(m_model->row(1).statusPopupClicked);
        const QStringList lines = ResultListFixture::logLines(QStringLiteral("MeasurementResultViewModel"));
        QVERIFY(lines.join(QLatin1Char('|')).contains(
            QStringLiteral("ステータス index = 6|エラーカウント = 3|ステータス index = 1")));

        emitList(page, "statusPopupRowSelectionSingleClicke", 2, 0);
        QCOMPARE(page->property("errorMessage").toString(), QStringLiteral("other\n\n"));
        QVERIFY(!m_model->row(1).statusPopupClicked);
        QVERIFY(m_model->row(2).statusPopupClicked);

        one->addErrorMessage(QStringLiteral("more\n\n"), 1);
        ScreenUpdateValue update;
        emit m_handler->screenUpdate(QStringLiteral("statusErrorMessageUpdate"), update);
        QCOMPARE(page->property("errorMessage").toString(), QStringLiteral("other\n\nmore\n\n"));

        // The popup lists channel rows in error only.
        auto *popupList = page->findChild<QQuickItem *>(QStringLiteral("statusPopupList"));
        QVERIFY(popupList);
        QVERIFY(QMetaObject::invokeMethod(page, "statusPopupOpen"));
        int listed = 0;
        QTRY_VERIFY((listed = countListed(popupList)) == 3);

        // Without error rows the button only resets the selected row.
        for (int r : {1, 2, 8})
            setChannelStatus(r, 0);
        emitList(page, "statusButton", 0, 0);
        QCOMPARE(m_view->currentStatusRow(), 0);
    }

    // Two ticked rows of one device: both cleared, with their records and messages, one
    // work-history line each, the device status recomputed and the popup brought up to date.
    void errorReset()
    {
        QQuickItem *page = m_fx->showPage();
        LevelChecker *one = m_fx->devices()->device(0);
        LevelChecker *three = m_fx->devices()->device(2);
        setChannelStatus(1, 2);
        setChannelStatus(2, 3);
        setChannelStatus(8, 1);
        m_handler->onDeviceStatusColorUpdate(0);
        m_handler->onDeviceStatusColorUpdate(2);
        m_handler->onStatusTextColorChange();
        QCOMPARE(page->property("statusError").toBool(), true);
        AlertRecord a;
        a.dateTime = QStringLiteral("2026/12/10 09:00:00");
        one->addAlertRecord(a, 0);
        one->addAlertRecord(a, 0);
        one->addErrorMessage(QStringLiteral("a\n\n"), 0);
        one->addErrorMessage(QStringLiteral("b\n\n"), 0);
        one->addErrorMessage(QStringLiteral("surplus\n\n"), 0);
        one->addAlertRecord(a, 1);
        one->addErrorMessage(QStringLiteral("c\n\n"), 1);
        three->addAlertRecord(a, 1);
        three->addErrorMessage(QStringLiteral("d\n\n"), 1);

        emitButton(page, "errorReset");
        QCOMPARE(m_messages->count(), 1);
        QCOMPARE(m_messages->last().at(0).toString(), QStringLiteral("エラー解除するチャンネルを選択してください。"));
        QCOMPARE(m_model->row(1).channelStatus, 2);

        emitList(page, "statusPopupRowSelectionSingleClicke", 1, 0);
        emitList(page, "statusPopupCheckBox", 1, 1);
        emitList(page, "statusPopupCheckBox", 2, 1);
        const QString band1 = m_model->row(1).band;
        const QString band2 = m_model->row(2).band;
        emitButton(page, "errorReset");

        QCOMPARE(m_model->row(1).channelStatus, 0);
        QCOMPARE(m_model->row(2).channelStatus, 0);
        QCOMPARE(m_model->row(1).statusPoopupCheckbox, 0);
        QCOMPARE(m_model->row(2).statusPoopupCheckbox, 0);
        QCOMPARE(one->alertRecordCount(0), 0);
        QCOMPARE(one->errorMessageCount(0), 1);
        QCOMPARE(one->errorMessage(0, 0), QStringLiteral("surplus\n\n"));
        QCOMPARE(one->alertRecordCount(1), 0);
        QCOMPARE(one->errorMessageCount(1), 0);
        QCOMPARE(three->alertRecordCount(1), 1);
        QCOMPARE(m_model->row(0).status, 0);
        QCOMPARE(m_model->row(1).status, 0);
        QCOMPARE(page->property("popupListCount").toInt(), 1);
        QCOMPARE(page->property("errorMessage").toString(), QString());
        QCOMPARE(page->property("popupErrorMessageRow").toInt(), 0);
        QCOMPARE(page->property("statusError").toBool(), true);
        for (int r = 0; r < m_model->rowCount(); ++r)
            QVERIFY(!m_model->row(r).statusPopupClicked);
        QCOMPARE(ResultListFixture::workLogEntries().mid(1),
                 (QStringList {QStringLiteral("機器No.1,エラーを解除,%1,13").arg(band1),
                               QStringLiteral("機器No.1,エラーを解除,%1,21").arg(band2)}));

        emitList(page, "statusPopupCheckBox", 8, 1);
        emitButton(page, "errorReset");
        QCOMPARE(three->alertRecordCount(1), 0);
        QCOMPARE(page->property("statusError").toBool(), false);
        QCOMPARE(page->property("popupListCount").toInt(), 0);
    }

    // The channel history gets the device, the band and channel of the plan position, and
    // whether the row's C/N is converted; a row past the plan opens nothing.
    void openingTheChannelHistory()
    {
        QQuickItem *page = m_fx->showPage();
        QSignalSpy passed(m_view, &MeasurementResultViewModel::dataPassChannelData);
        m_model->setData(m_model->index(3), QStringLiteral("BS(換算)"), Role::BandRole);

        emitList(page, "channelDetail", 3, 0);
        QCOMPARE(passed.count(), 1);
        QList<QVariant> args = passed.takeFirst();
        QCOMPARE(args.at(0).toInt(), 1);
        QCOMPARE(args.at(1).value<BandTabIndex>(), BandBsRight);
        QCOMPARE(args.at(2).toString(), QStringLiteral("BS1"));
        QCOMPARE(args.at(3).toInt(), 2);
        QCOMPARE(args.at(4).value<MeasureResultModel *>(), m_model);
        QCOMPARE(args.at(5).toString(), QString());
        QCOMPARE(args.at(6).toBool(), true);
        QCOMPARE(args.at(7).toBool(), false);
        QCOMPARE(m_fx->window()->property("transits").toStringList(),
                 QStringList {QStringLiteral("MeasurementResultIndividual.qml")});
        QVERIFY(m_model->row(3).clicked);

        // The first channel row and, for a one-channel device, every row give position 0.
        emitList(page, "channelDetail", 1, 0);
        QCOMPARE(passed.takeFirst().at(3).toInt(), 0);
        emitList(page, "channelDetail", 4, 0);
        QCOMPARE(passed.takeFirst().at(3).toInt(), 0);
        emitList(page, "channelDetail", 5, 0);
        QCOMPARE(passed.takeFirst().at(3).toInt(), 0);

        // A summary row opens the channel whose result it shows.
        m_model->setData(m_model->index(0), m_model->row(2).band, Role::BandRole);
        m_model->setData(m_model->index(0), m_model->row(2).channel, Role::ChannelRole);
        emitList(page, "channelDetail", 0, 0);
        QCOMPARE(passed.takeFirst().at(2).toString(), QStringLiteral("21"));

        // The plan of device 1 shrank under its rows: its third row names no channel.
        LevelChecker *one = m_fx->devices()->device(0);
        const ChannelSettingRow first = one->channelSetting(0);
        const ChannelSettingRow second = one->channelSetting(1);
        one->clearChannelSettings();
        one->addChannelSetting(first);
        one->addChannelSetting(second);
        emitList(page, "channelDetail", 3, 0);
        QCOMPARE(passed.count(), 0);

        m_fx->devices()->device(1)->setMeasurable(0);
        emitList(page, "channelDetail", 5, 0);
        QCOMPARE(passed.count(), 0);
        QCOMPARE(m_messages->last().at(0).toString(),
                 QStringLiteral("チャンネルが登録されていません。\nチャンネル設定を行ってください。"));
    }

    void openingTheChannelSetting()
    {
        QQuickItem *page = m_fx->showPage();
        QSignalSpy passed(m_view, &MeasurementResultViewModel::dataPassDeviceData);
        emitList(page, "settingButton", 7, 0);
        QCOMPARE(passed.count(), 1);
        QCOMPARE(passed.at(0).at(0).toInt(), 3);
        QCOMPARE(passed.at(0).at(1).toString(), QStringLiteral("中継局"));
        QCOMPARE(passed.at(0).at(2).value<ScreenId>(), ScreenMeasurementResult);
        QCOMPARE(m_fx->window()->property("transits").toStringList(), QStringList {QStringLiteral("ChannelSetting.qml")});
        emitList(page, "settingButton", 42, 0);
        QCOMPARE(passed.count(), 1);
    }

    // Devices that cannot be measured: one message at once for the row button; the bulk
    // operation lists them five to a line.
    void notMeasurableDevices_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("body");
        QTest::newRow("seven") << 7 << 2 << QStringLiteral("No 4\tNo 5\tNo 6\tNo 7\tNo 8\nNo 9\tNo10");
        QTest::newRow("five") << 5 << 1 << QStringLiteral("No 4\tNo 5\tNo 6\tNo 7\tNo 8");
        QTest::newRow("one") << 1 << 1 << QStringLiteral("No 4");
    }

    void notMeasurableDevices()
    {
        QFETCH(int, count);
        QFETCH(int, lines);
        QFETCH(QString, body);
        for (int i = 0; i < count; ++i)
            m_fx->addDevice(QStringLiteral("未設定"), QStringLiteral("0.0.0.0"));
        m_handler->onMeasurementResultModelClear();
        m_handler->onMakeMeasurementResultModel();
        QQuickItem *page = m_fx->showPage();

        emitList(page, "measurementStartButton", m_fx->topRow(4), 0);
        QCOMPARE(m_messages->last().at(0).toString(),
                 QStringLiteral("IPアドレスが正しくないか、チャンネルが登録されていません。\n設定を見直してください。"));
        QCOMPARE(m_fx->devices()->device(3)->measurementState(), 1);

        for (int n = 4; n < 4 + count; ++n)
            m_handler->onCheckBoxClicked(m_fx->topRow(n));
        QVERIFY(QMetaObject::invokeMethod(page, "measurementSelectStartStop", Q_ARG(bool, true), Q_ARG(bool, false)));
        QCOMPARE(m_messages->last().at(0).toString(), body);
        QCOMPARE(page->property("messagePopupTextLineCount").toInt(), lines);
        QCOMPARE(page->property("messagePopupFlg").toInt(), 1);
        QCOMPARE(page->property("messagePopupText2").toString(),
                 QStringLiteral("以下機器のIPアドレスが正しくないか、\nチャンネルが登録されていません。\n設定を見直してください。"));
        QCOMPARE(ResultListFixture::workLogEntries().size(), 1);
    }

    // A device in a state other than measuring or stopped is stopped and keeps its state.
    void unknownStateStops()
    {
        QQuickItem *page = m_fx->showPage();
        LevelChecker *two = m_fx->devices()->device(1);
        two->setMeasurementState(5);
        emitList(page, "measurementStartButton", 5, 0);
        QCOMPARE(two->measurementState(), 5);
        QCOMPARE(ResultListFixture::workLogEntries().last(), QStringLiteral("機器No.2,測定を停止"));
        QCOMPARE(m_model->row(4).measurementStart, QStringLiteral("停止中"));
    }

    // The saves as the page runs them: the checks, the file the dialog names, the messages.
    void savesThroughThePage()
    {
        QQuickItem *page = m_fx->showPage();
        QSignalSpy dialogs(m_view, &MeasurementResultViewModel::logSaveDialogOpen);
        QVERIFY(QMetaObject::invokeMethod(page, "logSaveButtonClickedCheck"));
        QCOMPARE(m_messages->last().at(0).toString(),
                 QStringLiteral("選択した機器とチャンネルの測定結果を保存します。\n機器とチャンネルを選択してください。"));
        QVERIFY(QMetaObject::invokeMethod(page, "errorLogSaveButtonClickedCheck"));
        QCOMPARE(m_messages->last().at(0).toString(), QStringLiteral("エラーログを保存するチャンネルを選択してください。"));
        QCOMPARE(dialogs.count(), 0);

        LevelChecker *two = m_fx->devices()->device(1);
        ChannelResultRow r;
        r.bandTabIndex = 5;
        r.channel = QStringLiteral("C24");
        r.dateTime = QStringLiteral("2026/12/10 09:16:00");
        two->addMeasurementHistory(r, 0);
        m_handler->onCheckBoxClicked(4);
        QVERIFY(QMetaObject::invokeMethod(page, "logSaveButtonClickedCheck"));
        QCOMPARE(dialogs.count(), 1);

        const QString path = m_fx->root() + QStringLiteral("/測定 結果.csv");
        const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
        QVERIFY(url.contains(QStringLiteral("%20")));
        QVERIFY(QMetaObject::invokeMethod(page, "selectChannelLogSaveButtonClicked", Q_ARG(QString, url)));
        QCOMPARE(m_messages->last().at(0).toString(), QStringLiteral("保存が完了しました。"));
        QCOMPARE(page->property("messagePopupText").toString(), QStringLiteral("保存が完了しました。"));
        QVERIFY(ResultListFixture::readShiftJis(path).contains(QStringLiteral("\n2,支社,2026/12/10 09:16:00,C24,CATV,")));

        QVERIFY(QMetaObject::invokeMethod(page, "selectErrorLogSaveButtonClicked",
                                          Q_ARG(QString, QUrl::fromLocalFile(m_fx->root() + QStringLiteral("/no/such/x.csv")).toString())));
        QCOMPARE(m_messages->last().at(0).toString(), QStringLiteral("指定のファイルを開くことができませんでした。"));

        // The file system takes only part of the file: an error, never the completion text.
        struct rlimit previous;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        auto *const previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = previous;
        small.rlim_cur = 64;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QVERIFY(QMetaObject::invokeMethod(page, "selectChannelLogSaveButtonClicked",
                                          Q_ARG(QString, QUrl::fromLocalFile(m_fx->root() + QStringLiteral("/short.csv")).toString())));
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(m_messages->last().at(0).toString(), QStringLiteral("ファイルの書き込みに失敗しました。保存できていません。"));
        QVERIFY(!QFile::exists(m_fx->root() + QStringLiteral("/short.csv")));
    }

    // Without the application object the screen does nothing at all: no purge, no rows.
    void withoutApplicationObject()
    {
        MeasurementResultViewModel bare(ScreenMeasurementResult, nullptr);
        QVERIFY(!bare.purgeTimer()->isActive());
        QVERIFY(!bare.measureResultModel());
        QSignalSpy emitted(&bare, &MeasurementResultViewModel::focusChange);
        bare.onListButtonClicked(QStringLiteral("rowSelectionSingleClicke"), 0, 1);
        bare.onListButtonClicked(QStringLiteral("measurementStartButton"), 0, 0);
        bare.onMeasurementSelectStartStop(true, true);
        bare.onButtonClicked(QStringLiteral("errorReset"));
        bare.onSelectChannelLogSaveButtonClicked(QUrl::fromLocalFile(m_fx->root() + QStringLiteral("/bare.csv")).toString());
        QCOMPARE(emitted.count(), 0);
        QVERIFY(!QFile::exists(m_fx->root() + QStringLiteral("/bare.csv")));
    }

private:
    void emitList(QQuickItem *page, const char *button, int index, int clicked)
    {
        QVERIFY(QMetaObject::invokeMethod(page, "listButtonClicked", Q_ARG(QString, QString::fromLatin1(button)),
                                          Q_ARG(int, index), Q_ARG(int, clicked)));
    }

    void emitButton(QQuickItem *page, const char *button)
    {
        QVERIFY(QMetaObject::invokeMethod(page, "buttonClicked", Q_ARG(QString, QString::fromLatin1(button))));
    }

    void setChannelStatus(int row, int status)
    {
        m_model->setData(m_model->index(row), status, Role::ChannelStatusRole);
    }

    QStringList blockOrder() const
    {
        QStringList numbers;
        for (int r = 0; r < m_model->rowCount(); ++r)
            numbers << m_model->row(r).no;
        return numbers;
    }

    static int countListed(QQuickItem *list)
    {
        QQuickItem *content = list->property("contentItem").value<QQuickItem *>();
        int listed = 0;
        for (QQuickItem *child : content->childItems()) {
            if (child->property("listed").toBool())
                ++listed;
        }
        return listed;
    }

    std::unique_ptr<ResultListFixture> m_fx;
    NotifyResponse *m_handler = nullptr;
    MeasurementResultViewModel *m_view = nullptr;
    MeasureResultModel *m_model = nullptr;
    std::unique_ptr<QSignalSpy> m_messages;
};

QTEST_MAIN(TestResultListScreen)
#include "tst_resultlistscreen.moc"
