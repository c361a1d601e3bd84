import QtQuick 2.15

// A tick box that only shows its checked input: a click asks for the change, and the model
// that answers decides the state.
Rectangle {
    id: box

    property bool checked: false
    property real viewScale: 1

    signal toggleRequested(bool newState)

    implicitWidth: 16 * viewScale
    implicitHeight: 16 * viewScale
    width: implicitWidth
    height: implicitHeight
    radius: 2
    color: checked ? "#35506e" : "white"
    border.color: "#35506e"
    border.width: Math.max(1, viewScale)

    Text {
        anchors.centerIn: parent
        visible: box.checked
        text: "✓"
        color: "white"
        font.pixelSize: 12 * box.viewScale
        font.bold: true
    }

    MouseArea {
        anchors.fill: parent
        anchors.margins: -3 * box.viewScale
        // A text typed just before ends its edit (and is sent) before the tick.
        onPressed: box.forceActiveFocus()
        onClicked: box.toggleRequested(!box.checked)
    }
}
