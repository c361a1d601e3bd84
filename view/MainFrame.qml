import QtQuick 2.15
import QtQuick.Window 2.15
import QtQuick.Controls 2.15

Window {
    id: mainFrame
    objectName: "MainFrame"
    width: 1010
    height: 504
    visible: true
    title: "NRT52"
    StackView {
        id: stackView
        objectName: "stackView"
        anchors.fill: parent
    }
}
