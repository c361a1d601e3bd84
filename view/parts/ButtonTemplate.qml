import QtQuick 2.15

// Picture button: background and optional icon chosen by the pressed and active states,
// text centred beside the icon. Users put a MouseArea on it that sets and clears press.
Item {
    id: button

    property bool active: false
    property bool press: false
    property string idlebg: ""
    property string activebg: ""
    property string pressbg: ""
    property string message: ""
    property string idleIcon: ""
    property string pressIcon: ""
    property string idleTextColor: "white"
    property string pressTextColor: "white"
    property string activeTextColor: "white"
    property real imageScalex: 0.25
    property real imageScaley: 0.25
    property real scale: 1
    property int fontSize: 20
    property string defaultFontName: "MS ゴシック"

    readonly property string folder: "qrc:/resource/image/"

    implicitWidth: background.implicitWidth * imageScalex * scale
    implicitHeight: background.implicitHeight * imageScaley * scale
    width: implicitWidth
    height: implicitHeight

    Image {
        id: background
        anchors.fill: parent
        smooth: true
        source: button.folder + (button.press ? button.pressbg : (button.active ? button.activebg : button.idlebg))
    }

    Image {
        id: icon
        visible: button.idleIcon !== ""
        width: button.height * 0.8
        height: width
        anchors.left: parent.left
        anchors.leftMargin: button.height * 0.1
        anchors.verticalCenter: parent.verticalCenter
        fillMode: Image.PreserveAspectFit
        smooth: true
        source: visible ? button.folder + (button.press ? button.pressIcon : button.idleIcon) : ""
    }

    Text {
        anchors.left: icon.visible ? icon.right : parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        text: qsTr(button.message)
        color: button.press ? button.pressTextColor : (button.active ? button.activeTextColor : button.idleTextColor)
        font.family: button.defaultFontName
        font.pixelSize: button.fontSize
    }
}
