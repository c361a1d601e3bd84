import QtQuick 2.15
import QtQuick.Window 2.15
import QtQuick.Controls 2.15
import velmora.levelchecker.measureResultModel 1.0
import velmora.levelchecker.statusErrorModel 1.0
import velmora.levelchecker.deviceSettingModel 1.0
import velmora.levelchecker.channelDetailsModel 1.0
import velmora.levelchecker.individualResultsModel 1.0
import velmora.levelchecker.individualResultListModel 1.0
import velmora.levelchecker.informationListModel 1.0

ApplicationWindow {
    id: window
    objectName: "MainFrame"
    width: 1010
    height: 504
    visible: true
    title: qsTr("NRT52")

    StackView {
        id: stackView
        objectName: "stackView"
        anchors.fill: parent

        MeasureResultModel { id: measureResultModel; objectName: "measureResultModel" }
        StatusErrorModel { id: statusErrorModel; objectName: "statusErrorModel" }
        DeviceSettingModel { id: deviceSettingModel; objectName: "deviceSettingModel" }
        ChannelDetailsModel { id: channelDetailsModel; objectName: "channelDetailsModel" }
        IndividualResultsModel { id: individualResultsModel; objectName: "individualResultsModel" }
        IndividualResultListModel { id: individualResultListModel; objectName: "individualResultListModel" }
        InformationListModel { id: informationListModel; objectName: "informationListModel" }
    }
}
