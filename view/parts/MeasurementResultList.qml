import QtQuick 2.15
import QtQuick.Controls 2.15

// One row of the result list: a device's summary row or one of its channels, read from the
// row's roles. Rows that are folded away take no height and build nothing.
Item {
    id: row

    property real rowHeight: 24
    property real rowWidth: 975
    property var columnWidth: []
    property int dataListRowNo: 0
    property int fontsize: 14
    // Zoom of the texts and sizes. Declared here, it stands in for Item.scale, which the
    // item itself then leaves at 1.
    property real scale: 1
    property string fontName: "MS ゴシック"

    readonly property int dataListCheckBox: 0
    readonly property int dataListMeasurementStart: 1
    readonly property int dataListState: 2
    readonly property int dataListDetail: 3
    readonly property int dataListDeviceNo: 4
    readonly property int dataListName: 5
    readonly property int dataListTime: 6
    readonly property int dataListBand: 7
    readonly property int dataListCh: 8
    readonly property int dataListFreq: 9
    readonly property int dataListLevel: 10
    readonly property int dataListMer: 11
    readonly property int dataListBer: 12
    readonly property int dataListHikari: 13
    readonly property int dataListSettingCheck: 14
    readonly property int dataListDisplay: 15

    readonly property int deviceStatusNormal: 0
    readonly property int deviceStatusReturn: 1
    readonly property int deviceStatusAbnormal: 2
    readonly property int deviceStatusTimeout: 3
    readonly property var statusTexts: ["正常", "復帰", "異常", "接続エラー"]
    readonly property string errorColor: "#d66264"

    // Filled by the list from the model roles of this row.
    property bool rowDisplay: false
    property bool latestData: false
    property bool topDataVisible: false
    property bool updateData: false
    property string measurementStart: ""
    property string deviceNo: ""
    property string name: ""
    property string datatime: ""
    property string band: ""
    property string channel: ""
    property string frequency: ""
    property string level: ""
    property string mer: ""
    property string ber: ""
    property string hikari: ""
    property int status: 0
    property int channelStatus: 0
    property int checkbox: 0
    property string settingcheck: ""
    property bool clicked: false
    property bool errorLevel: false
    property bool errorMer: false
    property bool errorBer: false
    property bool errorHikari: false

    signal listButtonClicked(string button, int index, int clicked)
    signal statusPopupOpen()
    signal checkBoxCleared()

    width: rowWidth
    height: rowDisplay ? rowHeight : 0
    visible: rowDisplay

    function colX(column) {
        var x = 0
        for (var i = 0; i < column; ++i)
            x += columnWidth[i] * scale
        return x
    }
    function colW(column) {
        return columnWidth[column] * scale
    }
    function statusColor(value) {
        if (value === deviceStatusAbnormal || value === deviceStatusTimeout)
            return errorColor
        if (value === deviceStatusReturn)
            return "#e8c55a"
        return "#7fbf7f"
    }

    Loader {
        anchors.fill: parent
        active: row.rowDisplay
        sourceComponent: rowContent
    }

    Component {
        id: rowContent

        Item {
            // Background: highlight, then the mark of the latest result.
            Rectangle {
                anchors.fill: parent
                color: row.clicked ? "#b9d3f0" : (row.latestData ? "#e3e9f0" : "white")
                border.color: "#c5cfdb"
            }
            Rectangle {
                visible: row.updateData
                width: 3 * row.scale
                height: parent.height
                x: row.colX(row.dataListName)
                color: "#4a90d9"
            }

            TickBox {
                objectName: "rowCheckBox"
                x: row.colX(row.dataListCheckBox) + (row.colW(row.dataListCheckBox) - width) / 2
                anchors.verticalCenter: parent.verticalCenter
                viewScale: row.scale
                checked: row.checkbox !== 0
                onToggleRequested: {
                    if (!newState)
                        row.checkBoxCleared()
                    row.listButtonClicked("checkBox", row.dataListRowNo, newState ? 1 : 0)
                }
            }

            Rectangle {
                objectName: "startStopButton"
                visible: row.topDataVisible && row.measurementStart !== ""
                x: row.colX(row.dataListMeasurementStart) + 2
                width: row.colW(row.dataListMeasurementStart) - 4
                height: parent.height - 4
                anchors.verticalCenter: parent.verticalCenter
                radius: 3
                color: row.measurementStart === "停止中" ? "#9aa5b1" : "#3c8d5a"
                Text {
                    anchors.centerIn: parent
                    text: row.measurementStart
                    color: "white"
                    font.pixelSize: (row.fontsize - 2) * row.scale
                    font.family: row.fontName
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: row.listButtonClicked("measurementStartButton", row.dataListRowNo, 0)
                }
            }

            // The device's summary status on its two control rows; a channel's own status
            // on the other channel rows.
            Rectangle {
                objectName: "statusButton"
                readonly property int shown: row.topDataVisible ? row.status : row.channelStatus
                visible: row.topDataVisible || (row.channelStatus >= 0 && row.channelStatus <= 3)
                x: row.colX(row.dataListState) + 2
                width: row.colW(row.dataListState) - 4
                height: parent.height - 4
                anchors.verticalCenter: parent.verticalCenter
                radius: 3
                color: row.statusColor(shown)
                Text {
                    anchors.centerIn: parent
                    text: row.statusTexts[parent.shown] !== undefined ? row.statusTexts[parent.shown] : ""
                    color: "white"
                    font.pixelSize: (row.fontsize - 2) * row.scale
                    font.family: row.fontName
                    font.bold: true
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        row.listButtonClicked("statusButton", row.dataListRowNo, 0)
                        row.statusPopupOpen()
                    }
                }
            }

            Rectangle {
                objectName: "detailButton"
                x: row.colX(row.dataListDetail) + 2
                width: row.colW(row.dataListDetail) - 4
                height: parent.height - 4
                anchors.verticalCenter: parent.verticalCenter
                radius: 3
                color: "#5b7aa0"
                Text {
                    anchors.centerIn: parent
                    text: "詳細"
                    color: "white"
                    font.pixelSize: (row.fontsize - 3) * row.scale
                    font.family: row.fontName
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: row.listButtonClicked("channelDetail", row.dataListRowNo, 0)
                }
            }

            // Device number with the fold arrow; a click here folds or unfolds the device.
            Item {
                x: row.colX(row.dataListDeviceNo)
                width: row.colW(row.dataListDeviceNo)
                height: parent.height
                Text {
                    objectName: "foldArrow"
                    visible: row.topDataVisible
                    x: 4 * row.scale
                    anchors.verticalCenter: parent.verticalCenter
                    text: "▶"
                    rotation: row.latestData ? 0 : 90
                    font.pixelSize: (row.fontsize - 4) * row.scale
                    font.family: row.fontName
                    color: "#35506e"
                }
                Text {
                    anchors.right: parent.right
                    anchors.rightMargin: 6 * row.scale
                    anchors.verticalCenter: parent.verticalCenter
                    visible: row.topDataVisible
                    text: row.deviceNo
                    font.pixelSize: row.fontsize * row.scale
                    font.family: row.fontName
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: row.listButtonClicked("rowSelectionSingleClicke", row.dataListRowNo, 1)
                }
            }

            // The data cells: a click highlights the row.
            MouseArea {
                x: row.colX(row.dataListName)
                width: row.colX(row.dataListSettingCheck) - x
                height: parent.height
                onClicked: row.listButtonClicked("rowSelectionSingleClicke", row.dataListRowNo, 0)
            }

            Repeater {
                model: [
                    { column: row.dataListName, text: row.topDataVisible ? row.name : "", error: false, left: true },
                    { column: row.dataListTime, text: row.datatime, error: false, left: false },
                    { column: row.dataListBand, text: row.band, error: false, left: false },
                    { column: row.dataListCh, text: row.channel, error: false, left: false },
                    { column: row.dataListFreq, text: row.frequency, error: false, left: false },
                    { column: row.dataListLevel, text: row.level, error: row.errorLevel, left: false },
                    { column: row.dataListMer, text: row.mer, error: row.errorMer, left: false },
                    { column: row.dataListBer, text: row.ber, error: row.errorBer, left: false },
                    { column: row.dataListHikari, text: row.hikari, error: row.errorHikari, left: false }
                ]
                Text {
                    x: row.colX(modelData.column) + 3 * row.scale
                    width: row.colW(modelData.column) - 6 * row.scale
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    horizontalAlignment: modelData.left ? Text.AlignLeft : Text.AlignHCenter
                    elide: Text.ElideRight
                    text: modelData.text
                    color: modelData.error ? row.errorColor : "black"
                    font.bold: modelData.error
                    font.pixelSize: (row.fontsize - 1) * row.scale
                    font.family: row.fontName
                }
            }

            Rectangle {
                objectName: "settingButton"
                visible: row.topDataVisible && row.settingcheck !== ""
                x: row.colX(row.dataListSettingCheck) + 2
                width: row.colW(row.dataListSettingCheck) - 4
                height: parent.height - 4
                anchors.verticalCenter: parent.verticalCenter
                radius: 3
                color: row.settingcheck === "未設定" ? "#c98a3c" : "#5b7aa0"
                Text {
                    anchors.centerIn: parent
                    text: row.settingcheck
                    color: "white"
                    font.pixelSize: (row.fontsize - 3) * row.scale
                    font.family: row.fontName
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: row.listButtonClicked("settingButton", row.dataListRowNo, 0)
                }
            }
        }
    }
}
