import QtQuick 2.15
import QtQuick.Controls 2.15

// The result list page: so far the latest result of every measured channel, read from the
// result list model.
Item {
    id: page
    objectName: "MeasurementResult"

    property real scaling: 1
    property string fontName: "MS ゴシック"
    property int listCount: 0
    property bool allCheckBox: false
    property int popupListCount: 0
    property bool popupAllCheckBox: false
    property bool statusError: false

    signal buttonClicked(string button)

    function transit(screen) {
        ApplicationWindow.window.transit(screen)
    }

    readonly property var columns: [
        { role: "no", title: "No", width: 50 },
        { role: "name", title: "名称", width: 150 },
        { role: "band", title: "バンド", width: 130 },
        { role: "channel", title: "チャンネル", width: 90 },
        { role: "datatime", title: "測定日時", width: 170 },
        { role: "level", title: "レベル", width: 90 },
        { role: "mer", title: "MER/CN", width: 90 },
        { role: "ber", title: "BER", width: 110 },
        { role: "hikari", title: "光レベル", width: 90 }
    ]

    Rectangle {
        anchors.fill: parent
        color: "#eef2f7"
    }

    Row {
        id: header
        x: 10 * page.scaling
        y: 8 * page.scaling
        Repeater {
            model: page.columns
            Rectangle {
                width: modelData.width * page.scaling
                height: 26 * page.scaling
                color: "#35506e"
                border.color: "#eef2f7"
                Text {
                    anchors.centerIn: parent
                    text: modelData.title
                    color: "white"
                    font.family: page.fontName
                    font.pixelSize: 13 * page.scaling
                }
            }
        }
    }

    ListView {
        id: list
        objectName: "resultList"
        anchors.left: header.left
        anchors.top: header.bottom
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 8 * page.scaling
        width: header.width
        clip: true
        model: measureResultModel
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

        delegate: Row {
            readonly property var rowData: model
            visible: model.display === true
            height: visible ? 24 * page.scaling : 0
            Repeater {
                model: page.columns
                Rectangle {
                    width: modelData.width * page.scaling
                    height: 24 * page.scaling
                    color: rowData.topDataVisible ? "#d3deea" : "white"
                    border.color: "#c5cfdb"
                    Text {
                        anchors.fill: parent
                        anchors.leftMargin: 4
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                        text: rowData[modelData.role] === undefined ? "" : String(rowData[modelData.role])
                        font.family: page.fontName
                        font.pixelSize: 13 * page.scaling
                    }
                }
            }
        }
    }
}
