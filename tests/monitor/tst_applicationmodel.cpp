// ctest-label: core
#include "app/QmlTypeRegistry.h"
#include "core/MeasureResultModel.h"
#include "monitor/ApplicationModel.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeIni(const QString &root, const QByteArray &content)
{
    const QString folder = root + "/InternalReadOnly/CheckerSettings";
    QDir().mkpath(folder);
    QFile file(folder + "/application_setting.ini");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}
} // namespace

class TestApplicationModel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("NRT52_ROOT", m_root.path().toUtf8());
        QDir::setCurrent(m_root.path());
        QmlTypeRegistry::registerListModels();
    }

    void maxChannelCount_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("expected");
        QTest::newRow("flag 1") << QByteArray("[ChannelCountChange]\nChannelCountFlg=1\n") << 100;
        QTest::newRow("flag 0") << QByteArray("[ChannelCountChange]\nChannelCountFlg=0\n") << 50;
        QTest::newRow("flag 2") << QByteArray("[ChannelCountChange]\nChannelCountFlg=2\n") << 50;
        QTest::newRow("missing key") << QByteArray("[Thread]\nThreadSleep=500\n") << 50;
    }

    void maxChannelCount()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, expected);
        writeIni(m_root.path(), ini);
        ApplicationModel model(0, nullptr);
        QCOMPARE(model.maxChannelCount(), expected);
    }

    void reloadReflectsTheFile()
    {
        writeIni(m_root.path(), "[Thread]\nThreadSleep=500\n");
        ApplicationModel model(0, nullptr);
        const ApplicationSetting before = model.applicationSetting();
        QCOMPARE(before.threadSleep, 500);
        writeIni(m_root.path(), "[Thread]\nThreadSleep=700\n[MeasureResultLog]\nData=Logs\n");
        QCOMPARE(model.applicationSetting().threadSleep, 500);
        model.reloadApplicationSetting();
        QCOMPARE(model.applicationSetting().threadSleep, 700);
        QCOMPARE(model.applicationSetting().data, QStringLiteral("Logs"));
        QCOMPARE(before.threadSleep, 500); // copies handed out keep their values
    }

    // The reload skips an unchanged file; a file rewritten in place at once, or replaced by
    // another one, is still seen. (The sizes differ: the settings reader below keeps its own
    // copy of a file whose size and time it sees unchanged.)
    void reloadSeesEveryChange()
    {
        writeIni(m_root.path(), "[Thread]\nThreadSleep=500\n");
        ApplicationModel model(0, nullptr);
        for (const char *value : {"6000", "70", "800"}) {
            writeIni(m_root.path(), QByteArray("[Thread]\nThreadSleep=") + value + "\n");
            model.reloadApplicationSetting();
            QCOMPARE(model.applicationSetting().threadSleep, QByteArray(value).toInt());
        }
        const QString path = m_root.path() + "/InternalReadOnly/CheckerSettings/application_setting.ini";
        QFile replacement(path + ".new");
        QVERIFY(replacement.open(QIODevice::WriteOnly));
        replacement.write("[Thread]\nThreadSleep=90000\n");
        replacement.close();
        QVERIFY(QFile::remove(path) && QFile::rename(path + ".new", path));
        model.reloadApplicationSetting();
        QCOMPARE(model.applicationSetting().threadSleep, 90000);
        model.reloadApplicationSetting();
        QCOMPARE(model.applicationSetting().threadSleep, 90000);
    }

    void dialogScale()
    {
        ApplicationModel model(0, nullptr);
        QCOMPARE(model.dialogScale(), 1.0);
        model.setDialogScale(1.5);
        QCOMPARE(model.dialogScale(), 1.5);
    }

    void findQmlObjectInTheMainView()
    {
        QQmlApplicationEngine engine;
        ApplicationModel model(0, &engine);
        QCOMPARE(model.findQmlObject("MainFrame"), nullptr); // nothing loaded yet
        engine.load(QUrl(QStringLiteral("qrc:/view/MainFrame.qml")));
        QVERIFY(!engine.rootObjects().isEmpty());
        QCOMPARE(model.findQmlObject("MainFrame"), engine.rootObjects().first());
        QCOMPARE(model.findQmlObject("stackView"), nullptr);
        QCOMPARE(model.findQmlObject("nothing"), nullptr);
        const QStringList models{"measureResultModel", "statusErrorModel", "deviceSettingModel",
                                 "channelDetailsModel", "individualResultsModel",
                                 "individualResultListModel", "informationListModel"};
        for (const QString &name : models) {
            QObject *found = model.findQmlObject(name);
            QVERIFY2(found, qPrintable(name));
            QCOMPARE(found->objectName(), name);
        }
        QVERIFY(qobject_cast<MeasureResultModel *>(model.findQmlObject("measureResultModel")));
    }

    // Objects after the page stack are never searched; one before it is found.
    void findQmlObjectStopsAtThePageStack()
    {
        QQmlApplicationEngine engine;
        ApplicationModel model(0, &engine);
        engine.loadData(R"(
            import QtQuick 2.15
            import QtQuick.Controls 2.15
            ApplicationWindow {
                objectName: "Root"
                Item { objectName: "before" }
                StackView {
                    objectName: "stackView"
                    Item { objectName: "page"; Item { objectName: "inPage" } }
                }
                Item { objectName: "after" }
            })");
        QVERIFY(!engine.rootObjects().isEmpty());
        QVERIFY(model.findQmlObject("before"));
        QVERIFY(model.findQmlObject("page"));
        QVERIFY(model.findQmlObject("inPage"));
        QCOMPARE(model.findQmlObject("after"), nullptr);
        QCOMPARE(model.findQmlObject("Page"), nullptr); // names compare case-sensitively
    }

private:
    QTemporaryDir m_root;
};

QTEST_MAIN(TestApplicationModel)
#include "tst_applicationmodel.moc"
