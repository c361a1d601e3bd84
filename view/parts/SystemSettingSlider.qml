import QtQuick 2.15
import QtQuick.Controls 2.15

// One setting of the system setting page: a label, a slider over whole steps and the value
// it stands at ("7秒", "1秒追加"; a switch runs from its label "OFF" to "ON"). Only the operator's moves
// are reported, as the setting's name and the value as digits; a value written from
// outside just shows.
Item {
    id: setting

    property int from: 1
    property int to: 10
    property int step: 1
    property int value: from
    property string object: ""
    property string label: ""
    property real sliderSize: 120
    property real labelSize: 112
    property bool append: false
    property bool onoff: false
    property int fontsize: 14
    // Zoom of the texts and sizes. Declared here, it stands in for Item.scale, which the
    // item itself then leaves at 1.
    property real scale: 1
    property string fontName: "MS ゴシック"

    signal comboboxChange(string name, string text)

    implicitWidth: row.implicitWidth
    implicitHeight: 34 * scale
    width: implicitWidth
    height: implicitHeight

    Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        spacing: 6 * setting.scale

        Text {
            width: setting.labelSize * setting.scale
            anchors.verticalCenter: parent.verticalCenter
            visible: setting.label !== ""
            text: setting.label
            font.pixelSize: setting.fontsize * setting.scale
            font.family: setting.fontName
            color: "#1f2d3d"
        }

        Slider {
            id: slider
            objectName: setting.object + "Slider"
            width: setting.sliderSize * setting.scale
            anchors.verticalCenter: parent.verticalCenter
            from: setting.from
            to: setting.to
            stepSize: setting.step
            snapMode: Slider.SnapAlways
            value: setting.value
            onMoved: {
                var whole = Math.round(value)
                if (whole === setting.value)
                    return
                setting.value = whole
                setting.comboboxChange(setting.object, String(whole))
            }
        }

        Text {
            width: 70 * setting.scale
            anchors.verticalCenter: parent.verticalCenter
            // A switch reads "OFF" on its left and "ON" on its right.
            text: setting.onoff ? "ON" : setting.value + "秒" + (setting.append ? "追加" : "")
            font.pixelSize: setting.fontsize * setting.scale
            font.family: setting.fontName
            font.bold: true
            color: "#27364a"
        }
    }
}
