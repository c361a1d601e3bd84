// ctest-label: core
// The seven list models as QML types: registered in their own modules, instantiated by a
// view with their object names, found again from C++ and bound by role name.
#include "core/ChannelDetailsModel.h"
#include "core/DeviceSettingModel.h"
#include "core/IndividualResultListModel.h"
#include "core/IndividualResultsModel.h"
#include "core/InformationListModel.h"
#include "core/MeasureResultModel.h"
#include "core/StatusErrorModel.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QtQml>
#include <QtTest>

#include <memory>

namespace {

const char kView[] = R"(
import QtQuick 2.15
import velmora.levelchecker.measureResultModel 1.0
import velmora.levelchecker.statusErrorModel 1.0
import velmora.levelchecker.deviceSettingModel 1.0
import velmora.levelchecker.channelDetailsModel 1.0
import velmora.levelchecker.individualResultsModel 1.0
import velmora.levelchecker.informationListModel 1.0
import velmora.levelchecker.individualResultListModel 1.0

Item {
    MeasureResultModel { id: measureResultModel; objectName: "measureResultModel" }
    StatusErrorModel { id: statusErrorModel; objectName: "statusErrorModel" }
    DeviceSettingModel { id: deviceSettingModel; objectName: "deviceSettingModel" }
    ChannelDetailsModel { id: channelDetailsModel; objectName: "channelDetailsModel" }
    IndividualResultsModel { id: individualResultsModel; objectName: "individualResultsModel" }
    InformationListModel { id: informationListModel; objectName: "informationListModel" }
    IndividualResultListModel { id: individualResultListModel; objectName: "individualResultListModel" }

    Repeater { objectName: "measureResultView"; model: measureResultModel
        delegate: Item { property var shown: model.statusPoopupCheckbox } }
    Repeater { objectName: "statusErrorView"; model: statusErrorModel
        delegate: Item { property var shown: model.alertBer } }
    Repeater { objectName: "deviceSettingView"; model: deviceSettingModel
        delegate: Item {
            property var shown: model.hikariWaveLength
            function rename(text) { model.devicename = text }
        } }
    Repeater { objectName: "channelDetailsView"; model: channelDetailsModel
        delegate: Item { property var shown: model.BandName } }
    Repeater { objectName: "individualResultsView"; model: individualResultsModel
        delegate: Item { property var shown: model.linelength } }
    Repeater { objectName: "informationListView"; model: informationListModel
        delegate: Item { property var shown: model.infofwversion } }
    Repeater { objectName: "individualResultListView"; model: individualResultListModel
        delegate: Item { property var shown: model.ModulationListRole } }
}
)";

} // namespace

class TestListModelQml : public QObject
{
    Q_OBJECT

    QQmlEngine *m_engine = nullptr;
    std::unique_ptr<QObject> m_root;
    QList<QQmlError> m_warnings;

    QQuickItem *delegateAt(const char *view, int index)
    {
        auto *repeater = m_root->findChild<QQuickItem *>(QString::fromLatin1(view));
        if (!repeater)
            return nullptr;
        QQuickItem *item = nullptr;
        QMetaObject::invokeMethod(repeater, "itemAt", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, index));
        return item;
    }

    int delegateCount(const char *view)
    {
        auto *repeater = m_root->findChild<QQuickItem *>(QString::fromLatin1(view));
        return repeater ? repeater->property("count").toInt() : -1;
    }

private slots:
    void initTestCase()
    {
        qmlRegisterType<MeasureResultModel>("velmora.levelchecker.measureResultModel", 1, 0, "MeasureResultModel");
        qmlRegisterType<StatusErrorModel>("velmora.levelchecker.statusErrorModel", 1, 0, "StatusErrorModel");
        qmlRegisterType<DeviceSettingModel>("velmora.levelchecker.deviceSettingModel", 1, 0, "DeviceSettingModel");
        qmlRegisterType<ChannelDetailsModel>("velmora.levelchecker.channelDetailsModel", 1, 0, "ChannelDetailsModel");
        qmlRegisterType<IndividualResultsModel>("velmora.levelchecker.individualResultsModel", 1, 0, "IndividualResultsModel");
        qmlRegisterType<InformationListModel>("velmora.levelchecker.informationListModel", 1, 0, "InformationListModel");
        qmlRegisterType<IndividualResultListModel>("velmora.levelchecker.individualResultListModel", 1, 0, "IndividualResultListModel");

        m_engine = new QQmlEngine(this);
        connect(m_engine, &QQmlEngine::warnings, this, [this](const QList<QQmlError> &w) { m_warnings += w; });
        QQmlComponent component(m_engine);
        component.setData(QByteArray(kView), QUrl(QStringLiteral("qrc:/test/ListModels.qml")));
        QVERIFY2(component.isReady(), qPrintable(component.errorString()));
        m_root.reset(component.create());
        QVERIFY(m_root);
    }

    void cleanupTestCase()
    {
        m_root.reset();
        delete m_engine;
    }

    void init() { m_warnings.clear(); }

    void cleanup()
    {
        for (const QQmlError &w : qAsConst(m_warnings))
            qWarning() << w.toString();
        QVERIFY(m_warnings.isEmpty());
    }

    void eachModelFoundByObjectName_data()
    {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<QByteArray>("className");
        QTest::newRow("measureResultModel") << "measureResultModel" << QByteArray("MeasureResultModel");
        QTest::newRow("statusErrorModel") << "statusErrorModel" << QByteArray("StatusErrorModel");
        QTest::newRow("deviceSettingModel") << "deviceSettingModel" << QByteArray("DeviceSettingModel");
        QTest::newRow("channelDetailsModel") << "channelDetailsModel" << QByteArray("ChannelDetailsModel");
        QTest::newRow("individualResultsModel") << "individualResultsModel" << QByteArray("IndividualResultsModel");
        QTest::newRow("informationListModel") << "informationListModel" << QByteArray("InformationListModel");
        QTest::newRow("individualResultListModel") << "individualResultListModel" << QByteArray("IndividualResultListModel");
    }

    void eachModelFoundByObjectName()
    {
        QFETCH(QString, objectName);
        QFETCH(QByteArray, className);
        const QList<QAbstractListModel *> found = m_root->findChildren<QAbstractListModel *>(objectName);
        QCOMPARE(found.size(), 1);
        QCOMPARE(QByteArray(found.first()->metaObject()->className()), className);
    }

    void viewsBindTheRoles()
    {
        auto *results = m_root->findChild<MeasureResultModel *>(QStringLiteral("measureResultModel"));
        auto *devices = m_root->findChild<DeviceSettingModel *>(QStringLiteral("deviceSettingModel"));
        auto *channels = m_root->findChild<ChannelDetailsModel *>(QStringLiteral("channelDetailsModel"));
        auto *points = m_root->findChild<IndividualResultsModel *>(QStringLiteral("individualResultsModel"));
        auto *identities = m_root->findChild<InformationListModel *>(QStringLiteral("informationListModel"));
        auto *history = m_root->findChild<IndividualResultListModel *>(QStringLiteral("individualResultListModel"));
        QVERIFY(results && devices && channels && points && identities && history);

        MeasureResultRow result;
        result.statusPoopupCheckbox = 1;
        results->addRow(result);
        DeviceSettingRow device;
        device.deviceno = QStringLiteral("1");
        device.hikariWaveLength = QStringLiteral("1550");
        devices->addRow(device);
        ChannelDetailsRow channel;
        channel.channelNo = QStringLiteral("1");
        channel.BandName = QStringLiteral("BS右旋");
        channels->addRow(channel);
        IndividualResultsRow point;
        point.linelength = 12.5;
        points->addRow(point);
        InformationListRow identity;
        identity.infodeviceno = QStringLiteral("1");
        identity.infofwversion = QStringLiteral("V1.02");
        identities->addRow(identity);
        IndividualResultListRow row;
        row.ModulationListRole = QStringLiteral("64QAM");
        history->addRow(row);

        const struct {
            const char *view;
            QVariant expected;
        } cases[] = {
            {"measureResultView", 1},
            {"deviceSettingView", QStringLiteral("1550")},
            {"channelDetailsView", QStringLiteral("BS右旋")},
            {"individualResultsView", 12.5},
            {"informationListView", QStringLiteral("V1.02")},
            {"individualResultListView", QStringLiteral("64QAM")},
        };
        for (const auto &c : cases) {
            QCOMPARE(delegateCount(c.view), 1);
            QQuickItem *item = delegateAt(c.view, 0);
            QVERIFY2(item, c.view);
            QCOMPARE(item->property("shown"), c.expected);
        }
        QCOMPARE(delegateCount("statusErrorView"), 0);

        // A change from C++ reaches the bound delegate.
        results->setStatusPopupCheckbox(0, false, 0);
        QCOMPARE(delegateAt("measureResultView", 0)->property("shown"), QVariant(0));
        devices->setHikariWaveLength(QStringLiteral("1310"), 0);
        QCOMPARE(delegateAt("deviceSettingView", 0)->property("shown"), QVariant(QStringLiteral("1310")));

        // An edit row writes its name back through the model.
        QMetaObject::invokeMethod(delegateAt("deviceSettingView", 0), "rename",
                                  Q_ARG(QVariant, QVariant(QStringLiteral("受信点B"))));
        QCOMPARE(devices->deviceName(0), QStringLiteral("受信点B"));

        channels->clear();
        QCOMPARE(delegateCount("channelDetailsView"), 0);
    }
};

QTEST_MAIN(TestListModelQml)
#include "tst_listmodelqml.moc"
