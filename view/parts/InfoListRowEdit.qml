import QtQuick 2.15

// One row of the identity list: number, name, address, serial number, MAC address and
// firmware version of a device.
Row {
    id: row

    property real scaling: 1
    property string fontName: "MS ゴシック"
    property var columnWidths: [60, 120, 140, 150, 170, 130]
    property string infodeviceno: ""
    property string infodevicename: ""
    property string infoipaddress: ""
    property string infoserialnumber: ""
    property string infomacaddress: ""
    property string infofwversion: ""

    height: 40 * scaling

    Repeater {
        model: [row.infodeviceno, row.infodevicename, row.infoipaddress, row.infoserialnumber,
                row.infomacaddress, row.infofwversion]
        Rectangle {
            width: row.columnWidths[index] * row.scaling
            height: row.height
            color: "white"
            border.color: "#c5ced9"
            Text {
                anchors.fill: parent
                anchors.margins: 4 * row.scaling
                text: modelData
                elide: Text.ElideRight
                verticalAlignment: Text.AlignVCenter
                horizontalAlignment: Text.AlignHCenter
                font.family: row.fontName
                font.pixelSize: 13 * row.scaling
                color: "#1d2b3a"
            }
        }
    }
}
