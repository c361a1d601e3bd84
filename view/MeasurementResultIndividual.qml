import QtQuick 2.15
import QtQuick.Controls 2.15

// The 個別一覧 page: so far only its place in the frame.
Item {
    id: page
    objectName: "ResultIndividual"

    property real scaling: 1
    property string fontName: "MS ゴシック"

    signal buttonClicked(string button)

    function transit(screen) {
        ApplicationWindow.window.transit(screen)
    }

    Rectangle {
        anchors.fill: parent
        color: "#eef2f7"
    }

    Text {
        x: 24 * page.scaling
        y: 18 * page.scaling
        text: "個別一覧"
        color: "#27364a"
        font.family: page.fontName
        font.pixelSize: 22 * page.scaling
    }
}
