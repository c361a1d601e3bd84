import QtQuick 2.15

// One row of a channel's error history from the status error model: date and time, level,
// MER and BER with the alert limits they broke. Kept with the views; no page shows it.
Item {
    id: row

    property real rowHeight: 20
    property var columnWidth: [150, 90, 90, 90, 90, 90]
    property int dataListRowNo: 0
    property int fontsize: 13
    property string fontName: "MS ゴシック"
    readonly property string errorColor: "#d66264"

    property string datatime: ""
    property string level: ""
    property string mer: ""
    property string ber: ""
    property bool errorLevel: false
    property bool errorMer: false
    property bool errorBer: false
    property string alertLevelMin: ""
    property string alertLevelMax: ""
    property string alertMer: ""
    property string alertBer: ""
    property bool clicked: false

    signal listButtonClicked(string button, int index, int clicked)

    width: {
        var w = 0
        for (var i = 0; i < columnWidth.length; ++i)
            w += columnWidth[i]
        return w
    }
    height: rowHeight

    function limitText(value, prefix) {
        return value === "" || value === "---" ? "---" : prefix + value
    }

    Rectangle {
        anchors.fill: parent
        color: row.clicked ? "#b9d3f0" : "white"
        border.color: "#c5cfdb"
    }

    Row {
        anchors.fill: parent
        Repeater {
            model: [
                { text: row.datatime, error: false },
                { text: row.level, error: row.errorLevel },
                { text: row.limitText(row.alertLevelMin, "<") + " " + row.limitText(row.alertLevelMax, ">"), error: false },
                { text: row.mer, error: row.errorMer },
                { text: row.limitText(row.alertMer, "<"), error: false },
                { text: row.ber, error: row.errorBer }
            ]
            Text {
                width: row.columnWidth[index]
                height: row.height
                verticalAlignment: Text.AlignVCenter
                horizontalAlignment: Text.AlignHCenter
                elide: Text.ElideRight
                text: modelData.text
                color: modelData.error ? row.errorColor : "black"
                font.pixelSize: row.fontsize
                font.family: row.fontName
            }
        }
    }

    MouseArea {
        anchors.fill: parent
        onClicked: row.listButtonClicked("statusPopupErrorListSelectionSingleClicke", row.dataListRowNo, 0)
        onDoubleClicked: row.listButtonClicked("statusPopupErrorListSelectionDoubleClicke", row.dataListRowNo, 0)
    }
}
