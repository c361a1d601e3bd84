import QtQuick 2.15
import QtQuick.Controls 2.15

// One measured channel of the channel details page: its plan values and its thresholds.
// Every change goes out through detailChange; the shown values always come from the model.
Item {
    id: row

    property int rowindex: 0
    property bool allcheckvalue: false
    property string checkstatus: "false"
    property string modelBroadbandCode: ""
    property string modelLocalFrequencyCode: ""
    property string modelPowerSupplyCode: ""

    property string channelNo: ""
    property string bandName: ""
    property string channelName: ""
    property string frequencyCode: ""
    property string levelMin: ""
    property string levelMax: ""
    property string mer: ""
    property string ber: ""
    property string hikariLevelMin: ""
    property string hikariLevelMax: ""
    property string convCnr: ""

    property var columnWidth: []
    property real rowHeight: 28
    property int fontsize: 13
    property string fontName: "MS ゴシック"
    property string lineColor: "#c5cfdb"

    readonly property bool isCatv: bandName === "CATV" || bandName === "CATV(換算)"
    readonly property bool isJcsat: bandName.indexOf("JCSAT-3A") === 0 || bandName.indexOf("JCSAT-4B") === 0
    readonly property bool isScc: bandName.indexOf("SCC-B") === 0 || bandName.indexOf("SCC-C") === 0
    readonly property bool levelOnly: bandName === "CATV上り" || bandName === "FM" || bandName === "LTE"
                                      || bandName === "PILOT"
    // 地デジ and CATV in converted-C/N mode edit the converted C/N in the MER/CN column.
    readonly property bool editsConvertedCn: bandName === "地デジ(換算)" || bandName === "CATV(換算)"
    readonly property var localFrequencies: ["10.678", "11.2", "11.3"]

    signal detailChange(string bandname, string chname, string buttonName, string model, string alert,
                        int rowIndex, string substr1, string substr2, string substr3)

    width: cells.width
    height: rowHeight

    onAllcheckvalueChanged: {
        individualcheck.checked = allcheckvalue
        checkstatus = allcheckvalue ? "true" : "false"
    }

    function columnX(column) {
        var x = 0
        for (var i = 0; i < column; ++i)
            x += columnWidth[i]
        return x
    }

    function send(buttonName, value) {
        row.detailChange(row.bandName, row.channelName, buttonName, value, "", row.rowindex, "", "", "")
    }

    Rectangle {
        id: cells
        width: row.columnX(row.columnWidth.length)
        height: row.rowHeight
        color: row.rowindex % 2 === 0 ? "white" : "#f3f6fa"
        border.color: row.lineColor
    }

    Repeater {
        model: row.columnWidth.length
        Rectangle {
            x: row.columnX(index) + row.columnWidth[index] - 1
            width: 1
            height: row.rowHeight
            color: row.lineColor
        }
    }

    CheckBox {
        id: individualcheck
        objectName: "individualcheck"
        x: row.columnX(0) + (row.columnWidth[0] - width) / 2
        anchors.verticalCenter: parent.verticalCenter
        padding: 0
        indicator.width: 16
        indicator.height: 16
        checked: false
        onToggled: {
            row.checkstatus = checked ? "true" : "false"
            row.send("individualcheck", row.checkstatus)
        }
    }

    component Cell: Text {
        property int column: 0
        x: row.columnX(column)
        width: row.columnWidth[column]
        height: row.rowHeight
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        font.pixelSize: row.fontsize
        font.family: row.fontName
        color: "black"
    }

    Cell { objectName: "detailsNoText"; column: 1; text: row.channelNo }
    Cell { objectName: "detailsBandText"; column: 2; text: row.bandName; font.pixelSize: row.fontsize - 1 }
    Cell { objectName: "detailsChText"; column: 3; text: row.channelName }
    Cell { objectName: "detailsFrequencyText"; column: 4; text: row.frequencyCode }

    // A compact choice box: the whole cell for the text, a small arrow at the right.
    component Choice: ComboBox {
        id: choice
        property int column: 0
        property string shown: ""
        x: row.columnX(column) + 2
        width: row.columnWidth[column] - 4
        height: row.rowHeight - 4
        anchors.verticalCenter: parent.verticalCenter
        leftPadding: 2
        rightPadding: 14
        font.pixelSize: row.fontsize - 1
        font.family: row.fontName
        currentIndex: Math.max(0, find(shown))
        displayText: shown !== "" ? shown : currentText
        contentItem: Text {
            text: choice.displayText
            font: choice.font
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            color: "black"
        }
        indicator: Text {
            x: choice.width - width - 3
            anchors.verticalCenter: parent.verticalCenter
            text: "▼"
            font.pixelSize: 8
            color: "#35506e"
        }
        background: Rectangle {
            radius: 2
            color: choice.pressed ? "#dde5ee" : "#f7f9fc"
            border.color: "#8a9bb0"
        }
    }

    Choice {
        objectName: "detailsBroadbandBox"
        column: 5
        visible: row.isCatv
        model: ["ISDBC", "ISDBT"]
        shown: row.modelBroadbandCode
        onActivated: row.send("detailsBroadbandBox", textAt(index))
    }
    Cell {
        objectName: "detailsBroadbandText"
        column: 5
        visible: !row.isCatv
        text: row.modelBroadbandCode
        font.pixelSize: row.fontsize - 2
    }

    Choice {
        objectName: "detailsLocalFreqBoxJCSAT"
        column: 6
        visible: row.isJcsat
        model: row.localFrequencies
        shown: row.modelLocalFrequencyCode
        onActivated: row.send("detailsLocalFreqBoxJCSAT", textAt(index))
    }
    Choice {
        objectName: "detailsLocalFreqBoxSCC"
        column: 6
        visible: row.isScc
        model: row.localFrequencies
        shown: row.modelLocalFrequencyCode
        onActivated: row.send("detailsLocalFreqBoxSCC", textAt(index))
    }
    Cell {
        objectName: "detailsLocalFreqText"
        column: 6
        visible: !row.isJcsat && !row.isScc
        text: row.modelLocalFrequencyCode
    }

    Choice {
        objectName: "detailsPowerText"
        column: 7
        model: ["しない", "する"]
        shown: row.modelPowerSupplyCode
        onActivated: row.send("detailsPowerText", textAt(index))
    }

    // A threshold input with its mark; "---" where the band has no such threshold.
    component Threshold: Item {
        id: threshold
        property int column: 0
        property string mark: "<"
        property string value: ""
        property string buttonName: ""
        property bool available: true
        property int maximumLength: 5
        property var pattern: /[0-9.]+/
        property string mask: ""
        x: row.columnX(column)
        width: row.columnWidth[column]
        height: row.rowHeight

        Text {
            id: markText
            x: 3
            width: 10
            height: parent.height
            visible: threshold.available
            verticalAlignment: Text.AlignVCenter
            text: threshold.mark
            font.pixelSize: row.fontsize
            font.family: row.fontName
            color: "#35506e"
        }
        Rectangle {
            anchors.left: markText.right
            anchors.right: parent.right
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            height: parent.height - 6
            visible: threshold.available
            color: field.activeFocus ? "#fffbe6" : "white"
            border.color: field.activeFocus ? "#35506e" : "#8a9bb0"
            TextInput {
                id: field
                objectName: threshold.objectName + "Input"
                anchors.fill: parent
                anchors.leftMargin: 3
                anchors.rightMargin: 3
                verticalAlignment: TextInput.AlignVCenter
                horizontalAlignment: TextInput.AlignHCenter
                clip: true
                selectByMouse: true
                text: threshold.value
                maximumLength: threshold.maximumLength
                inputMask: threshold.mask
                validator: RegularExpressionValidator { regularExpression: threshold.pattern }
                font.pixelSize: row.fontsize
                font.family: row.fontName
                // Only what the operator types: a value the mask cannot show ("---") is
                // rewritten by the field itself and must not come back as an edit.
                onTextEdited: if (activeFocus) row.send(threshold.buttonName, text)
            }
        }
        Text {
            anchors.fill: parent
            visible: !threshold.available
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: "---"
            font.pixelSize: row.fontsize
            font.family: row.fontName
        }
    }

    Threshold {
        objectName: "detailsLevelMinText"
        column: 8
        value: row.levelMin
        buttonName: "detailsLevelMinText"
    }
    Threshold {
        objectName: "detailsLevelMaxText"
        column: 9
        value: row.levelMax
        buttonName: "detailsLevelMaxText"
    }
    Threshold {
        objectName: "detailsMerText"
        column: 10
        available: !row.levelOnly
        value: row.editsConvertedCn ? row.convCnr : row.mer
        buttonName: row.editsConvertedCn ? "detailsCnrText" : "detailsMerText"
        maximumLength: 4
    }
    Threshold {
        objectName: "detailsBerText"
        column: 11
        mark: ">"
        // A band with a BER keeps its input when the BER is "---": it can be set again.
        available: !row.levelOnly
        value: row.ber
        buttonName: "detailsBerText"
        mask: "0.0E-0"
        maximumLength: 6
        pattern: /.*/
    }
    Threshold {
        objectName: "detailsHikariLevelmin"
        column: 12
        value: row.hikariLevelMin
        buttonName: "detailsHikariMin"
        pattern: /[-0-9.]+/
    }
    Threshold {
        objectName: "detailsHikariLevelmax"
        column: 13
        value: row.hikariLevelMax
        buttonName: "detailsHikariMax"
        pattern: /[-0-9.]+/
    }
}
