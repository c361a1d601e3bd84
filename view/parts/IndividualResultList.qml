import QtQuick 2.15

// One row of the history table: date and the four measured values, each value black while
// its verdict flag is true (kept or not judged) and red when it broke its threshold.
Rectangle {
    id: row

    property string date: ""
    property string level: ""
    property string mer: ""
    property string ber: ""
    property string hikarilevel: ""
    property bool levelerror: true
    property bool mererror: true
    property bool bererror: true
    property bool hikarierror: true
    property bool selectflag: false
    // Bands without MER/CN and BER graphs: those two are red only for a result without values.
    property bool bandcheck: true
    property bool selected: false
    property var columnWidths: [170, 80, 80, 90, 80]
    property string fontName: "MS ゴシック"
    property real fontSize: 12

    readonly property bool noValues: level === "---" && mer === "---" && ber === "---"

    signal doubleClicked()

    width: columnWidths.reduce(function (a, b) { return a + b }, 0)
    height: 22
    color: selected ? "#bcd7f5" : "white"

    function valueColor(flag) {
        return flag ? "black" : "red"
    }

    Row {
        anchors.fill: parent
        Repeater {
            model: [
                { text: row.date, color: "black" },
                { text: row.level, color: row.valueColor(row.levelerror) },
                { text: row.mer, color: row.bandcheck ? row.valueColor(row.mererror) : (row.noValues ? "red" : "black") },
                { text: row.ber, color: row.bandcheck ? row.valueColor(row.bererror) : (row.noValues ? "red" : "black") },
                { text: row.hikarilevel, color: row.valueColor(row.hikarierror) }
            ]
            Rectangle {
                width: row.columnWidths[index]
                height: row.height
                color: "transparent"
                border.color: "#c9d3df"
                Text {
                    anchors.centerIn: parent
                    text: modelData.text
                    color: modelData.color
                    font.family: row.fontName
                    font.pixelSize: row.fontSize
                }
            }
        }
    }

    MouseArea {
        anchors.fill: parent
        onDoubleClicked: row.doubleClicked()
    }
}
