#include "core/ApplicationModel.h"

#include "core/ScreenUpdateValue.h"
#include "core/SystemLog.h"

#include <QQmlApplicationEngine>
#include <QTimer>

ApplicationModel::ApplicationModel(int logLevel, QQmlApplicationEngine *engine, QObject *parent)
    : QObject(parent)
    , engine(engine)
    , systemLog(SystemLog::instance(this))
    , logLevel(logLevel)
    , rebootTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("ApplicationModel"));
    qRegisterMetaType<ScreenUpdateValue>("ScreenUpdateValue");
    systemLog->initialize(logLevel, QStringLiteral("pcapplication.log"));
    readApplicationSetting();
    rebootTimer->setInterval(60000);
    rebootTimer->setSingleShot(true);
}

ApplicationModel::~ApplicationModel() = default;

void ApplicationModel::log(const QString &source, const QString &message, const int &level)
{
    systemLog->write(source, message, level);
}

void ApplicationModel::setDialogScale(double scale)
{
    dialogScaleValue = scale;
}

double ApplicationModel::dialogScale() const
{
    return dialogScaleValue;
}

ApplicationSetting ApplicationModel::applicationSetting() const
{
    return setting;
}

void ApplicationModel::reloadApplicationSetting()
{
    readApplicationSetting();
}

void ApplicationModel::readApplicationSetting()
{
    setting = ApplicationSetting::readFile(ApplicationSetting::filePath());
}

int ApplicationModel::maxChannelCount() const
{
    return setting.channelCountFlg == 1 ? 100 : 50;
}

QObject *ApplicationModel::findQmlObject(const QString &objectName) const
{
    if (!engine)
        return nullptr;
    const QList<QObject *> roots = engine->rootObjects();
    if (roots.isEmpty())
        return nullptr;
    QObject *root = roots.first();
    if (!root)
        return nullptr;
    if (root->objectName() == objectName)
        return root;
    for (QObject *child : root->children()) {
        if (child->objectName() == QLatin1String("stackView")) {
            // Pages and list models sit inside the page stack; nothing after it is searched.
            for (QObject *inner : child->children()) {
                if (inner->objectName() == objectName)
                    return inner;
                for (QObject *grand : inner->children()) {
                    if (grand->objectName() == objectName)
                        return grand;
                }
            }
            return nullptr;
        }
        if (child->objectName() == objectName)
            return child;
    }
    return nullptr;
}
