#include "app/QmlTypeRegistry.h"

#include "core/ChannelDetailsModel.h"
#include "core/DeviceSettingModel.h"
#include "core/IndividualResultListModel.h"
#include "core/IndividualResultsModel.h"
#include "core/InformationListModel.h"
#include "core/MeasureResultModel.h"
#include "core/StatusErrorModel.h"

#include <QtQml>

void QmlTypeRegistry::registerListModels()
{
    qmlRegisterType<MeasureResultModel>("velmora.levelchecker.measureResultModel", 1, 0, "MeasureResultModel");
    qmlRegisterType<StatusErrorModel>("velmora.levelchecker.statusErrorModel", 1, 0, "StatusErrorModel");
    qmlRegisterType<DeviceSettingModel>("velmora.levelchecker.deviceSettingModel", 1, 0, "DeviceSettingModel");
    qmlRegisterType<ChannelDetailsModel>("velmora.levelchecker.channelDetailsModel", 1, 0, "ChannelDetailsModel");
    qmlRegisterType<IndividualResultsModel>("velmora.levelchecker.individualResultsModel", 1, 0, "IndividualResultsModel");
    qmlRegisterType<InformationListModel>("velmora.levelchecker.informationListModel", 1, 0, "InformationListModel");
    qmlRegisterType<IndividualResultListModel>("velmora.levelchecker.individualResultListModel", 1, 0, "IndividualResultListModel");
}
