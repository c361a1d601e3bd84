#pragma once

#include "app/QmlTypeRegistry.h"
#include "core/MeasureResultModel.h"
#include "core/SystemLog.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/NotifyResponse.h"
#include "platform/PlatformPaths.h"
#include "support/ResultListSetup.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The response handler in its real surroundings: a temporary root with the settings file
// and the device MIB module, a main view holding the result list model, the application
// object with its device list, and devices registered the way start-up registers them.
// The working folder moves into the root, so the application log stays there too.
class ResultListHost
{
public:
    ~ResultListHost() { teardown(); }

    bool prepare(const QString &dataFolder = QStringLiteral("C:\\VELMORA\\NRT52\\Data"),
                 int channelCountFlg = 0)
    {
        if (!m_root.isValid())
            return false;
        qputenv("NRT52_ROOT", m_root.path().toUtf8());
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_root.path());
        const QString mibFolder = PlatformPaths::mibFolder();
        QDir().mkpath(mibFolder);
        const QString mib = TestPaths::sourceDir()
                            + QStringLiteral("/sim/VEDIRUDO-ZER");
        if (!QFile::exists(mibFolder + QStringLiteral("/VEDIRUDO-ZER"))
            && !QFile::copy(mib, mibFolder + QStringLiteral("/VEDIRUDO-ZER")))
            return false;
        if (!writeSettings(dataFolder, channelCountFlg))
            return false;

        static bool registered = false;
        if (!registered) {
            QmlTypeRegistry::registerListModels();
            registered = true;
        }
        m_engine.reset(new QQmlApplicationEngine);
        m_engine->loadData(R"(
            import QtQuick 2.15
            import QtQuick.Controls 2.15
            import velmora.levelchecker.measureResultModel 1.0
            ApplicationWindow {
                objectName: "MainFrame"
                visible: false
                StackView {
                    objectName: "stackView"
                    MeasureResultModel { objectName: "measureResultModel" }
                }
            })");
        if (m_engine->rootObjects().isEmpty())
            return false;
        m_app.reset(new ApplicationModel(0, m_engine.get()));
        return m_app->deviceList() != nullptr;
    }

    void teardown()
    {
        delete m_handler;
        m_handler = nullptr;
        m_app.reset();
        m_engine.reset();
        if (!m_previousFolder.isEmpty()) {
            QDir::setCurrent(m_previousFolder);
            m_previousFolder.clear();
        }
    }

    bool writeSettings(const QString &dataFolder, int channelCountFlg = 0)
    {
        return ResultListSetup::writeSettings(dataFolder, 0, channelCountFlg);
    }

    // Registers a device as start-up does; its worker thread starts but does not monitor.
    LevelChecker *addDevice(const QString &name, const QString &address = QStringLiteral("127.0.0.1"),
                            int port = 161, int measurementState = 0, int inputType = 0,
                            const QString &start = QStringLiteral("常時"),
                            const QString &end = QStringLiteral("常時"))
    {
        DeviceList *list = m_app->deviceList();
        const int number = list->deviceCount() + 1;
        const quint32 ip = ResultListSetup::packedAddress(address);
        m_app->addDevice(number, name.toUtf8().constData(), "", &ip, inputType, nullptr, 0,
                         start.toUtf8().constData(), end.toUtf8().constData(), 3, "kv52gate", port);
        LevelChecker *device = list->device(number - 1);
        if (device)
            device->setMeasurementState(measurementState);
        return device;
    }

    // The full load: devices 局1, 局2, ... each with channels 13, 14, ... of the first band,
    // 6 MHz apart, with their thresholds.
    bool addDevices(int devices, int channels)
    {
        for (int f = 0; f < devices; ++f) {
            LevelChecker *device = addDevice(QStringLiteral("局%1").arg(f + 1));
            if (!device)
                return false;
            for (int k = 0; k < channels; ++k)
                addChannel(device, 0, QString::number(13 + k), 473142 + 6000 * k);
        }
        return true;
    }

    static AlertSettingRow thresholds(int band, const QString &channel)
    {
        return ResultListSetup::thresholds(band, channel);
    }

    // Appends a channel to the plan (with its initial latest result) and, unless told not
    // to, its threshold row.
    static void addChannel(LevelChecker *device, int band, const QString &channel, int frequencyKHz,
                           int localKHz = 0, const QString &standard = QStringLiteral("0"),
                           bool withThresholds = true)
    {
        ResultListSetup::addChannel(device, band, channel, frequencyKHz, localKHz, standard, withThresholds);
    }

    // The handler, wired to itself as the main frame wires it.
    NotifyResponse *createHandler()
    {
        m_handler = ResultListSetup::createHandler(m_app.get());
        return m_handler;
    }

    // The library's rendering of the result object with the given value elements.
    static QString reply(const QStringList &elements, bool trailingComma = true)
    {
        return QStringLiteral("VEDIRUDO-ZER::lcMeasResult.0 = STRING: \"") + elements.join(QLatin1Char(','))
               + (trailingComma ? QStringLiteral(",") : QString()) + QStringLiteral("\n\"");
    }

    static QString reply(const QString &dateTime, const QString &code, const QString &channel,
                         const QString &level, const QString &mer, const QString &ber,
                         const QString &hikari = QStringLiteral("---"),
                         const QString &standard = QStringLiteral("ISDBT"),
                         const QString &modulation = QStringLiteral("64QAM"),
                         const QString &layer = QStringLiteral("A"))
    {
        return reply({dateTime, code, channel, QStringLiteral("0"), level, mer, ber,
                      QStringLiteral("0"), standard, modulation, layer, hikari});
    }

    MeasureResultModel *model() const
    {
        return qobject_cast<MeasureResultModel *>(
            m_app->findQmlObject(QStringLiteral("measureResultModel")));
    }

    ApplicationModel *app() const { return m_app.get(); }
    DeviceList *devices() const { return m_app->deviceList(); }
    NotifyResponse *handler() const { return m_handler; }
    QString root() const { return m_root.path(); }

    static QByteArray readFile(const QString &path) { return TestFiles::readBytes(path); }
    static QString readShiftJis(const QString &path) { return TestFiles::readShiftJis(path); }

    QString resultLogPath(int number, const QDate &date = QDate::currentDate()) const
    {
        return m_root.path() + QStringLiteral("/Data/LOG/機器No") + QString::number(number)
               + QLatin1Char('/') + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
    }
    QString errorLogPath(int number, const QDate &date = QDate::currentDate()) const
    {
        return m_root.path() + QStringLiteral("/Data/ERROR_LOG/機器No") + QString::number(number)
               + QLatin1Char('/') + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
    }
    QString historyLogPath(int number, const QDate &date = QDate::currentDate()) const
    {
        return m_root.path() + QStringLiteral("/InternalReadOnly/INDIVIDUAL_LOG/機器No")
               + QString::number(number) + QLatin1Char('/')
               + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
    }

    // Every row of the model as one text per row, for before/after comparisons.
    QStringList snapshot() const
    {
        QStringList rows;
        MeasureResultModel *m = model();
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList fields;
            for (int role = 257; role <= 288; ++role)
                fields << m->data(m->index(r), role).toString();
            rows << fields.join(QLatin1Char('|'));
        }
        return rows;
    }

private:
    QTemporaryDir m_root;
    QString m_previousFolder;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    std::unique_ptr<ApplicationModel> m_app;
    NotifyResponse *m_handler = nullptr;
};
