import QtQuick 2.15
import QtQuick.Controls 2.15

// A heading that opens a list of entries: the result list's sort boxes. The heading stays
// as given whatever entry was chosen; choosing one reports the box's name and the entry.
ComboBox {
    id: box

    property string object: ""
    property bool measurement: false
    property string measurementColor: "black"
    property int fontsize: 12
    // Zoom of the texts and sizes. Declared here, it stands in for Item.scale, which the
    // item itself then leaves at 1.
    property real scale: 1
    property string fontName: "MS ゴシック"

    signal entryChosen(string name, string text)

    displayText: ""
    font.pixelSize: fontsize * scale
    font.family: fontName
    implicitHeight: 30 * scale
    leftPadding: 0
    rightPadding: 0

    background: Rectangle {
        color: box.pressed ? "#c9d3de" : "#dfe6ee"
        border.color: "#8a9bb0"
        radius: 2
    }

    indicator: Text {
        x: box.width - width - 3 * box.scale
        anchors.verticalCenter: box.verticalCenter
        text: "▼"
        font.pixelSize: 8 * box.scale
        color: box.measurement ? box.measurementColor : "#35506e"
    }

    contentItem: Text {
        leftPadding: 2 * box.scale
        rightPadding: 10 * box.scale
        text: box.displayText
        font: box.font
        color: box.measurement ? box.measurementColor : "black"
        verticalAlignment: Text.AlignVCenter
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
    }

    delegate: ItemDelegate {
        width: Math.max(box.width, 90 * box.scale)
        height: 26 * box.scale
        contentItem: Text {
            text: modelData
            font: box.font
            color: "black"
            verticalAlignment: Text.AlignVCenter
        }
        highlighted: box.highlightedIndex === index
    }

    popup: Popup {
        y: box.height
        width: Math.max(box.width, 90 * box.scale)
        implicitHeight: contentItem.implicitHeight + 2
        padding: 1
        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: box.popup.visible ? box.delegateModel : null
            currentIndex: box.highlightedIndex
        }
        background: Rectangle {
            color: "white"
            border.color: "#8a9bb0"
        }
    }

    onActivated: entryChosen(object, textAt(index))
}
