import QtQuick 2.15

// One row of the status popup: a channel in error with its own tick box. Rows that are not
// channels in error take no height and build nothing.
Item {
    id: row

    property real rowHeight: 20
    property real rowWidth: 510
    property var columnWidth: [40, 90, 60, 130, 110, 80]
    property int dataListRowNo: 0
    property int fontsize: 13
    // Zoom of the texts and sizes. Declared here, it stands in for Item.scale, which the
    // item itself then leaves at 1.
    property real scale: 1
    property string fontName: "MS ゴシック"

    readonly property int statusListCheckBox: 0
    readonly property int statusListState: 1
    readonly property int statusListDeviceNo: 2
    readonly property int statusListName: 3
    readonly property int statusListBand: 4
    readonly property int statusListCh: 5

    readonly property var statusTexts: ["正常", "復帰", "異常", "接続エラー"]
    readonly property string errorColor: "#d66264"

    property bool latestData: false
    property int channelStatus: 0
    property int statusPoopupCheckbox: 0
    property bool statusPopupClicked: false
    property string no: ""
    property string name: ""
    property string band: ""
    property string channel: ""

    readonly property bool listed: !latestData && channelStatus >= 1 && channelStatus <= 3

    signal listButtonClicked(string button, int index, int clicked)
    signal checkBoxCleared()

    width: rowWidth * scale
    height: listed ? rowHeight * scale : 0
    visible: listed

    function colX(column) {
        var x = 0
        for (var i = 0; i < column; ++i)
            x += columnWidth[i] * scale
        return x
    }
    function colW(column) {
        return columnWidth[column] * scale
    }

    Loader {
        anchors.fill: parent
        active: row.listed
        sourceComponent: Item {
            Rectangle {
                anchors.fill: parent
                color: row.statusPopupClicked ? "#b9d3f0" : "white"
                border.color: "#c5cfdb"
            }
            MouseArea {
                anchors.fill: parent
                onClicked: row.listButtonClicked("statusPopupRowSelectionSingleClicke", row.dataListRowNo, 0)
            }
            TickBox {
                objectName: "popupRowCheckBox"
                x: row.colX(row.statusListCheckBox) + (row.colW(row.statusListCheckBox) - width) / 2
                anchors.verticalCenter: parent.verticalCenter
                viewScale: row.scale * 0.9
                checked: row.statusPoopupCheckbox !== 0
                onToggleRequested: {
                    if (!newState)
                        row.checkBoxCleared()
                    row.listButtonClicked("statusPopupCheckBox", row.dataListRowNo, newState ? 1 : 0)
                }
            }
            Repeater {
                model: [
                    { column: row.statusListState, text: row.statusTexts[row.channelStatus] || "", error: row.channelStatus >= 2 },
                    { column: row.statusListDeviceNo, text: row.no, error: false },
                    { column: row.statusListName, text: row.name, error: false },
                    { column: row.statusListBand, text: row.band, error: false },
                    { column: row.statusListCh, text: row.channel, error: false }
                ]
                Text {
                    x: row.colX(modelData.column) + 3 * row.scale
                    width: row.colW(modelData.column) - 6 * row.scale
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    horizontalAlignment: Text.AlignHCenter
                    elide: Text.ElideRight
                    text: modelData.text
                    color: modelData.error ? row.errorColor : "black"
                    font.pixelSize: row.fontsize * row.scale
                    font.family: row.fontName
                }
            }
        }
    }
}
