import QtQuick 2.15
import QtQuick.Controls 2.15

// Hidden, checkable button of one screen in the frame's button row: checking it shows the
// screen.
AbstractButton {
    property string screen: ""

    signal screenChecked(string screen)

    checkable: true
    checked: false
    visible: false
    onCheckedChanged: if (checked) screenChecked(screen)
}
