import QtQuick 2.15
import QtQuick.Controls 2.15

// A compact radio button in the setting pages' colours; its text may have two lines.
RadioButton {
    id: control

    property real fontSize: 13
    property string fontName: "MS ゴシック"
    property string textColor: "black"

    padding: 2
    spacing: 6

    indicator: Rectangle {
        implicitWidth: 16
        implicitHeight: 16
        x: control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        radius: 8
        color: "white"
        border.color: "#35506e"
        border.width: 1

        Rectangle {
            anchors.centerIn: parent
            width: 8
            height: 8
            radius: 4
            color: "#35506e"
            visible: control.checked
        }
    }

    contentItem: Text {
        leftPadding: control.indicator.width + control.spacing
        text: control.text
        font.pixelSize: control.fontSize
        font.family: control.fontName
        font.bold: control.checked
        color: control.textColor
        verticalAlignment: Text.AlignVCenter
        lineHeight: 0.95
    }
}
