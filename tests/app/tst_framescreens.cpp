// ctest-label: frame
// The main view loaded for real with its frame view model: the screen table, the cross
// connections, page switching with its close/open pairs and life-cycle calls, HOME, zoom.
#include "screens/FrameHost.h"

#include "monitor/NotifyResponse.h"
#include "screens/AbstractViewModel.h"
#include "screens/Attributes.h"
#include "screens/HomeViewModel.h"
#include "screens/MeasurementResultIndividualViewModel.h"
#include "screens/MeasurementResultViewModel.h"
#include "settings/ChannelDetailsViewModel.h"
#include "settings/ChannelSettingViewModel.h"
#include "settings/DeviceSettingViewModel.h"
#include "settings/SystemSettingViewModel.h"

#include <QPointer>
#include <QQuickItem>
#include <QSignalSpy>

class TestFrameScreens : public QObject
{
    Q_OBJECT

private:
    FrameRoot root;
    std::unique_ptr<FrameHost> host;
    int mark = 0;

    // Log messages since the last call.
    QStringList newMessages()
    {
        const QStringList all = root.logMessages();
        const QStringList result = all.mid(mark);
        mark = all.size();
        return result;
    }

    QString topPageName() const
    {
        QObject *stack = host->child("stackView");
        QObject *top = stack ? stack->property("currentItem").value<QObject *>() : nullptr;
        return top ? top->objectName() : QString();
    }

    // The frame's lines, the home screen's life-cycle lines and the activation lines of the
    // other screens, in order.
    static QStringList lifeCycle(const QStringList &messages)
    {
        static const QStringList homeCalls {"Enter resume", "Enter suspend", "Enter createConnection",
                                            "Enter activate", "Enter deactivate"};
        QStringList result;
        for (const QString &message : messages) {
            const bool frameLine = message.startsWith(QLatin1String("[MainFrameViewModel] Open"))
                                   || message.startsWith(QLatin1String("[MainFrameViewModel] Close"));
            const bool homeLine = message.startsWith(QLatin1String("[HomeViewModel] "))
                                  && homeCalls.contains(message.mid(16));
            const bool activation = message.endsWith(QLatin1String("] Enter activate"));
            if (frameLine || homeLine || activation)
                result.append(message);
        }
        return result;
    }

    void clickHome()
    {
        auto *button = qobject_cast<QQuickItem *>(host->child("homeButton"));
        QVERIFY(button);
        const QPointF centre = button->mapToScene(QPointF(button->width() / 2, button->height() / 2));
        QTest::mouseClick(host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        QVERIFY(root.prepare());
        host.reset(new FrameHost);
        QVERIFY(host->isValid());
        QVERIFY(host->waitForBoot());
        QVERIFY(host->window->isVisible());
        mark = root.logMessages().size();
    }

    void cleanup()
    {
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    void cleanupTestCase()
    {
        host.reset();
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    void screenTable()
    {
        const QList<ScreenEntry> table = host->frame->screenTable();
        const QList<AbstractViewModel *> views = host->frame->screenViewModels();
        const QList<ScreenEntry> expected {
            {2, QStringLiteral("Home"), QStringLiteral("Home"), QStringLiteral("Home.qml")},
            {3, QStringLiteral("測定結果"), QStringLiteral("MeasurementResult"), QStringLiteral("MeasurementResult.qml")},
            {4, QStringLiteral("機器設定"), QStringLiteral("DeviceSetting"), QStringLiteral("DeviceSetting.qml")},
            {5, QStringLiteral("チャンネル設定"), QStringLiteral("ChannelSetting"), QStringLiteral("ChannelSetting.qml")},
            {6, QStringLiteral("チャンネル詳細"), QStringLiteral("ChannelDetails"), QStringLiteral("ChannelDetails.qml")},
            {7, QStringLiteral("個別一覧"), QStringLiteral("ResultIndividual"),
             QStringLiteral("MeasurementResultIndividual.qml")},
            {8, QStringLiteral("システム設定"), QStringLiteral("SystemSetting"), QStringLiteral("SystemSetting.qml")},
        };
        const QStringList viewNames {
            "HomeViewModel", "MeasurementResultViewModel", "DeviceSettingViewModel", "ChannelSettingViewModel",
            "ChannelDetailsViewModel", "MeasurementResultIndividualViewModel", "SystemSettingViewModel"};
        QCOMPARE(table.size(), expected.size());
        QCOMPARE(views.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(table.at(i).id, expected.at(i).id);
            QCOMPARE(table.at(i).title, expected.at(i).title);
            QCOMPARE(table.at(i).name, expected.at(i).name);
            QCOMPARE(table.at(i).qmlFile, expected.at(i).qmlFile);
            QCOMPARE(views.at(i)->objectName(), viewNames.at(i));
            QCOMPARE(int(views.at(i)->currentScreenId()), expected.at(i).id);
            QCOMPARE(views.at(i)->parent(), host->frame);
        }
        QCOMPARE(host->frame->objectName(), QStringLiteral("MainFrameViewModel"));
        QCOMPARE(host->frame->attributes()->objectName(), QStringLiteral("Attributes"));
        QCOMPARE(host->frame->property("attributes").value<Attributes *>(), host->frame->attributes());
    }

    void screenIndex_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("history page name") << "ResultIndividual" << 5;
        QTest::newRow("history file stem") << "MeasurementResultIndividual" << -1;
        QTest::newRow("home") << "Home" << 0;
        QTest::newRow("letter case") << "home" << -1;
        QTest::newRow("file name") << "Home.qml" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void screenIndex()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QCOMPARE(host->frame->screenIndex(name), index);
    }

    void pagesCarryTheirNames()
    {
        // Every page file loads without error and has the name of its table row.
        for (const ScreenEntry &entry : host->frame->screenTable()) {
            QQmlComponent component(host->engine.get(), QUrl(QStringLiteral("qrc:/view/") + entry.qmlFile));
            QVERIFY2(component.isReady(), qPrintable(component.errorString()));
        }
        QCOMPARE(host->find(QStringLiteral("Home"))->objectName(), QStringLiteral("Home"));
    }

    void switchingRunsTheLifeCycle()
    {
        QCOMPARE(host->frame->currentViewName(), QStringLiteral("HomeViewModel"));
        QCOMPARE(host->frame->attributes()->qmlPath(), QStringLiteral("Home.qml"));
        newMessages();

        host->transit(QStringLiteral("MeasurementResult.qml"));
        QCOMPARE(topPageName(), QStringLiteral("MeasurementResult"));
        QCOMPARE(lifeCycle(newMessages()),
                 (QStringList {"[HomeViewModel] Enter suspend", "[HomeViewModel] Enter deactivate",
                               "[MainFrameViewModel] Close: Home", "[MainFrameViewModel] Open: MeasurementResult",
                               "[MeasurementResultViewModel] Enter activate"}));
        QCOMPARE(host->frame->currentViewName(), QStringLiteral("MeasurementResultViewModel"));
        QCOMPARE(host->frame->previousViewName(), QStringLiteral("HomeViewModel"));
        QCOMPARE(host->frame->attributes()->qmlPath(), QStringLiteral("MeasurementResult.qml"));
        QVERIFY(host->frame->attributes()->takeOver().isEmpty());
        QCOMPARE(host->frame->attributes()->viewModel().value<AbstractViewModel *>(),
                 host->frame->viewModelOf(QStringLiteral("MeasurementResult")));
        QCOMPARE(host->window->property("beforeDialog").toString(), QStringLiteral("MeasurementResult.qml"));
        QPointer<QObject> resultPage = host->find(QStringLiteral("MeasurementResult"));
        QVERIFY(resultPage);
        QCOMPARE(host->frame->viewModelOf(QStringLiteral("MeasurementResult"))->currentPage(), resultPage.data());

        // Asking for the screen on show changes nothing.
        host->transit(QStringLiteral("MeasurementResult.qml"));
        QVERIFY(lifeCycle(newMessages()).isEmpty());
        QCOMPARE(host->find(QStringLiteral("MeasurementResult")), resultPage.data());

        host->transit(QStringLiteral("Home.qml"));
        QCOMPARE(topPageName(), QStringLiteral("Home"));
        QCOMPARE(lifeCycle(newMessages()),
                 (QStringList {"[MainFrameViewModel] Close: MeasurementResult", "[MainFrameViewModel] Open: Home",
                               "[HomeViewModel] Enter createConnection", "[HomeViewModel] Enter activate",
                               "[HomeViewModel] Enter resume"}));
        QCOMPARE(host->frame->previousViewName(), QStringLiteral("MeasurementResultViewModel"));
        QCOMPARE(host->frame->currentViewName(), QStringLiteral("HomeViewModel"));
        // A page other than home is made anew for each visit.
        QTRY_VERIFY(resultPage.isNull());

        // Home while home is on show: one close and one open, no page made.
        host->transit(QStringLiteral("Home.qml"));
        QCOMPARE(lifeCycle(newMessages()),
                 (QStringList {"[HomeViewModel] Enter suspend", "[HomeViewModel] Enter deactivate",
                               "[MainFrameViewModel] Close: Home", "[MainFrameViewModel] Open: Home",
                               "[HomeViewModel] Enter createConnection", "[HomeViewModel] Enter activate",
                               "[HomeViewModel] Enter resume"}));
        QCOMPARE(host->child("stackView")->property("depth").toInt(), 1);

        // An unknown text switches nothing.
        host->transit(QStringLiteral("Boot.qml"));
        QVERIFY(lifeCycle(newMessages()).isEmpty());
    }

    void everyScreenOpens_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("view");
        QTest::newRow("result list") << "MeasurementResult.qml" << "MeasurementResult" << "MeasurementResultViewModel";
        QTest::newRow("device setting") << "DeviceSetting.qml" << "DeviceSetting" << "DeviceSettingViewModel";
        QTest::newRow("channel setting") << "ChannelSetting.qml" << "ChannelSetting" << "ChannelSettingViewModel";
        QTest::newRow("channel details") << "ChannelDetails.qml" << "ChannelDetails" << "ChannelDetailsViewModel";
        QTest::newRow("history") << "MeasurementResultIndividual.qml" << "ResultIndividual"
                                 << "MeasurementResultIndividualViewModel";
        QTest::newRow("system setting") << "SystemSetting.qml" << "SystemSetting" << "SystemSettingViewModel";
    }

    void everyScreenOpens()
    {
        QFETCH(QString, file);
        QFETCH(QString, page);
        QFETCH(QString, view);
        host->transit(QStringLiteral("Home.qml"));
        newMessages();
        host->transit(file);
        QCOMPARE(topPageName(), page);
        QCOMPARE(host->frame->currentViewName(), view);
        const QStringList messages = newMessages();
        QVERIFY(!messages.filter(QStringLiteral("[%1] Enter activate").arg(view)).isEmpty());
        QVERIFY2(messages.filter(QStringLiteral("is not found")).isEmpty(), qPrintable(messages.join('\n')));
        QVERIFY2(messages.filter(QStringLiteral("undefined")).isEmpty(), qPrintable(messages.join('\n')));
        // The page and its view model know each other.
        QCOMPARE(host->frame->viewModelOf(page)->currentPage(), host->find(page));
        host->transit(QStringLiteral("Home.qml"));
    }

    void unknownAndMissingScreens()
    {
        host->transit(QStringLiteral("Home.qml"));
        host->transit(QStringLiteral("SystemSetting.qml"));
        newMessages();
        host->frame->onOpen(QStringLiteral("Boot"));
        QCOMPARE(host->frame->previousViewName(), QStringLiteral("SystemSettingViewModel"));
        QCOMPARE(host->frame->currentViewName(), QStringLiteral("SystemSettingViewModel"));
        QVERIFY(root.logLines(mark).filter(QStringLiteral("[MainFrameViewModel] Boot is not found")).size() == 1);
        newMessages();
        host->transit(QStringLiteral("Home.qml"));
    }

    void homeButton_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("asksFrame");
        QTest::newRow("result list") << "MeasurementResult.qml" << false;
        QTest::newRow("history") << "MeasurementResultIndividual.qml" << false;
        QTest::newRow("device setting") << "DeviceSetting.qml" << true;
        QTest::newRow("channel setting") << "ChannelSetting.qml" << true;
        QTest::newRow("channel details") << "ChannelDetails.qml" << true;
        QTest::newRow("system setting") << "SystemSetting.qml" << true;
    }

    void homeButton()
    {
        QFETCH(QString, file);
        QFETCH(bool, asksFrame);
        host->transit(QStringLiteral("Home.qml"));
        host->transit(file);
        QVERIFY(topPageName() != QLatin1String("Home"));
        QSignalSpy asked(host->window, SIGNAL(homeButtonCliecked()));
        newMessages();
        clickHome();
        QCOMPARE(topPageName(), QStringLiteral("Home"));
        QCOMPARE(asked.count(), asksFrame ? 1 : 0);
        const QStringList messages = newMessages();
        QCOMPARE(messages.filter(QStringLiteral("閉じる画面の遷移確認")).size(), asksFrame ? 1 : 0);
        QCOMPARE(messages.filter(QStringLiteral("HOME画面へ遷移")).size(), asksFrame ? 1 : 0);
        QCOMPARE(host->window->property("beforeDialog").toString(), QStringLiteral("Home.qml"));
        QVERIFY(host->child("homeButton")->property("checked").toBool());
        // The screen can be visited again at once.
        host->transit(file);
        QVERIFY(topPageName() != QLatin1String("Home"));
        host->transit(QStringLiteral("Home.qml"));
    }

    void zoom()
    {
        host->transit(QStringLiteral("Home.qml"));
        QSignalSpy scales(host->frame, &MainFrameViewModel::changeDialogScaleNotify);
        QSignalSpy percents(host->window, SIGNAL(scaleButtonClicked(double)));
        QCOMPARE(host->window->property("scaling").toReal(), 100.0);

        for (int i = 0; i < 11; ++i)
            QMetaObject::invokeMethod(host->window, "zoomIn");
        QCOMPARE(host->window->property("scaling").toReal(), 210.0);
        QCOMPARE(scales.count(), 11);
        QCOMPARE(scales.last().at(0).toDouble(), 2.1);
        QCOMPARE(host->find(QStringLiteral("Home"))->property("scaling").toDouble(), 2.1);
        QCOMPARE(host->app->dialogScale(), 2.1);

        for (int i = 0; i < 30; ++i)
            QMetaObject::invokeMethod(host->window, "zoomIn");
        QCOMPARE(host->window->property("scaling").toReal(), 400.0);
        QCOMPARE(percents.last().at(0).toDouble(), 400.0);
        QCOMPARE(percents.at(percents.count() - 2).at(0).toDouble(), 400.0);

        for (int i = 0; i < 40; ++i)
            QMetaObject::invokeMethod(host->window, "zoomOut");
        QCOMPARE(host->window->property("scaling").toReal(), 50.0);
        QCOMPARE(percents.last().at(0).toDouble(), 50.0);
        QCOMPARE(percents.at(percents.count() - 2).at(0).toDouble(), 50.0);
        QCOMPARE(scales.count(), percents.count());

        // 120 %: every screen gets 1.2; the home page and the stored scale too, and the next
        // page opened starts with it.
        host->window->setProperty("scaling", 110);
        QMetaObject::invokeMethod(host->window, "zoomIn");
        QCOMPARE(scales.last().at(0).toDouble(), 1.2);
        QCOMPARE(host->find(QStringLiteral("Home"))->property("scaling").toDouble(), 1.2);
        QCOMPARE(host->app->dialogScale(), 1.2);
        host->transit(QStringLiteral("SystemSetting.qml"));
        QCOMPARE(host->find(QStringLiteral("SystemSetting"))->property("scaling").toDouble(), 1.2);
        QMetaObject::invokeMethod(host->window, "zoomOut");
        QCOMPARE(host->find(QStringLiteral("SystemSetting"))->property("scaling").toDouble(), 1.1);
        host->transit(QStringLiteral("Home.qml"));
        host->window->setProperty("scaling", 90);
        QMetaObject::invokeMethod(host->window, "zoomIn");
    }

    void crossConnectionsCarryData()
    {
        auto *result = qobject_cast<MeasurementResultViewModel *>(host->frame->viewModelOf("MeasurementResult"));
        auto *device = qobject_cast<DeviceSettingViewModel *>(host->frame->viewModelOf("DeviceSetting"));
        auto *channel = qobject_cast<ChannelSettingViewModel *>(host->frame->viewModelOf("ChannelSetting"));
        auto *details = qobject_cast<ChannelDetailsViewModel *>(host->frame->viewModelOf("ChannelDetails"));
        auto *history = qobject_cast<MeasurementResultIndividualViewModel *>(
            host->frame->viewModelOf("ResultIndividual"));
        QVERIFY(result && device && channel && details && history);

        emit result->dataPassChannelData(3, BandCatv, QStringLiteral("C24"), 4, result->measureResultModel(),
                                         QString(), true, false);
        QCOMPARE(history->selectedDeviceNo(), 3);
        QCOMPARE(history->selectedBand(), BandCatv);
        QCOMPARE(history->selectedChannel(), QStringLiteral("C24"));
        QCOMPARE(history->selectedModelIndex(), 4);
        QVERIFY(result->measureResultModel());

        emit result->dataPassDeviceData(2, QStringLiteral("二号機"), ScreenMeasurementResult);
        QCOMPARE(channel->selectedDeviceNo(), 2);
        QCOMPARE(channel->originScreen(), ScreenMeasurementResult);
        emit device->dataPassDeviceData(5, QStringLiteral("五号機"), ScreenDeviceSetting);
        QCOMPARE(channel->selectedDeviceNo(), 5);
        QCOMPARE(channel->selectedDeviceName(), QStringLiteral("五号機"));
        QCOMPARE(channel->originScreen(), ScreenDeviceSetting);
        emit channel->dataPassScreenData(5, QStringLiteral("五号機"), ScreenChannelSetting);
        QCOMPARE(details->selectedDeviceNo(), 5);
        QCOMPARE(details->originScreen(), ScreenChannelSetting);

        emit device->dataPassMerCnr(1, QStringLiteral("CNR"), QStringLiteral("MER"), true);
        QCOMPARE(channel->terrestrialMerCn(), QStringLiteral("CNR"));
        QCOMPARE(details->terrestrialMerCn(), QString()); // not passed on by the channel setting
        emit channel->dataPassMerCnr(1, QStringLiteral("MER"), QStringLiteral("CNR"), false);
        QCOMPARE(details->catvMerCn(), QStringLiteral("CNR"));
        emit details->dataPassMerCnr(1, QStringLiteral("CNR"), QStringLiteral("CNR"), true);
        QCOMPARE(channel->merCnDeviceNo(), 1);
        QCOMPARE(device->currentMerCnModes().value(0).ofdm, QStringLiteral("CNR"));
        QVERIFY(device->isMerCnChanged());

        // The response handler's screen updates reach the result page.
        host->transit(QStringLiteral("MeasurementResult.qml"));
        ScreenUpdateValue value;
        value.number = 42;
        emit host->frame->responseHandler()->screenUpdate(QStringLiteral("listCount"), value);
        QCOMPARE(host->find(QStringLiteral("MeasurementResult"))->property("listCount").toInt(), 42);
        host->transit(QStringLiteral("Home.qml"));
    }

    void destructionUndoesTheConnections()
    {
        // A second frame on the same view, with a response handler of its own that outlives
        // it: every connection to that handler goes with the frame.
        NotifyResponse *response = nullptr;
        {
            MainFrameViewModel second(host->app, host->window, nullptr);
            response = second.responseHandler();
        }
        for (const MainFrameViewModel::CrossConnection &row : MainFrameViewModel::crossConnections()) {
            if (qstrcmp(row.sender, "NotifyResponse") == 0) {
                QVERIFY2(!QObject::disconnect(response, QByteArray("2") + row.signal, nullptr, nullptr), row.signal);
            } else if (qstrcmp(row.receiver, "NotifyResponse") == 0) {
                QVERIFY2(!QObject::disconnect(nullptr, nullptr, response, QByteArray("1") + row.slot), row.slot);
            }
        }
    }

    void closeBeforeAnyScreen()
    {
        MainFrameViewModel fresh(host->app, host->window, nullptr);
        const int from = root.logLines().size();
        fresh.onClose(QStringLiteral("Home"));
        QCOMPARE(fresh.currentViewName(), QString());
        QVERIFY(root.logLines(from).filter(QStringLiteral("[MainFrameViewModel] Current view is unsettled")).size() == 1);
        mark = root.logMessages().size();
    }

    void helpNeedsTheExactText()
    {
        const int from = root.logLines().size();
        host->frame->onButtonClicked(QStringLiteral("Help"));
        host->frame->onButtonClicked(QStringLiteral("HELP"));
        QVERIFY(root.logLines(from).isEmpty());
        mark = root.logMessages().size();
    }
};

QTEST_MAIN(TestFrameScreens)
#include "tst_framescreens.moc"
