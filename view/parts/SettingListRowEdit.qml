import QtQuick 2.15
import QtQuick.Controls 2.15

// One editable row of the device table. Every change leaves as rowButton(name, value, row)
// or timeChange(name, start, end, row); the model that answers decides what is shown.
Item {
    id: row

    property int rowindex: 0
    property real scaling: 1
    property string fontName: "MS ゴシック"
    property var columnWidths: [40, 50, 110, 140, 80, 95, 100, 80, 130, 80]
    property string allcheckstring: "false"
    property var hour: []
    property var minutes: []
    property string startH: "00"
    property string startM: "00"
    property string endH: "23"
    property string endM: "59"

    property string deviceno: ""
    property string devicename: ""
    property string ipaddress: ""
    property string inputtype: ""
    property string settingfile: ""
    property string validtime: ""
    property string cycleInterval: ""
    property string hikariWaveLength: ""

    signal rowButton(string name, string value, int row)
    signal timeChange(string name, string start, string end, int row)
    // Equal start and end times: the page shows its message instead of sending them.
    signal sameTimeRefused()

    width: cells.width
    height: 34 * scaling

    readonly property var inputTypes: ["同軸", "光"]
    readonly property var wavelengths: ["1300nm", "1310nm", "1490nm", "1550nm", "1625nm"]
    readonly property var cycles: ["連続", "5分", "15分", "30分", "60分"]

    property bool rowChecked: allcheckstring === "true"
    onAllcheckstringChanged: rowChecked = allcheckstring === "true"

    // The row now shows the table filled anew: nothing of what was done in it before stays.
    function startAgain() {
        timePopup.close()
        rowChecked = allcheckstring === "true"
        nameField.text = Qt.binding(function() { return row.devicename })
        addressField.typed = false
        addressField.text = Qt.binding(function() { return row.ipaddress })
    }

    component Cell: Rectangle {
        property int column: 0
        width: row.columnWidths[column] * row.scaling
        height: row.height
        color: row.rowindex % 2 === 0 ? "white" : "#f3f6fa"
        border.color: "#c5ced9"
    }

    component RowCombo: ComboBox {
        property string shown: ""
        anchors.fill: parent
        anchors.margins: 3 * row.scaling
        font.family: row.fontName
        font.pixelSize: 13 * row.scaling
        currentIndex: model.indexOf(shown)
        displayText: shown
        leftPadding: 4 * row.scaling
        rightPadding: 16 * row.scaling
        // A narrow arrow, so that the whole choice stays readable in its column.
        indicator: Text {
            x: parent.width - width - 4 * row.scaling
            anchors.verticalCenter: parent.verticalCenter
            text: "▾"
            font.pixelSize: 13 * row.scaling
            color: "#35506e"
        }
        contentItem: Text {
            text: parent.displayText
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            font: parent.font
            color: "#1d2b3a"
        }
    }

    component RowButton: Rectangle {
        property alias text: caption.text
        signal clicked()
        anchors.fill: parent
        anchors.margins: 3 * row.scaling
        radius: 3 * row.scaling
        color: area.pressed ? "#27415f" : "#35506e"
        Text {
            id: caption
            anchors.centerIn: parent
            color: "white"
            font.family: row.fontName
            font.pixelSize: 13 * row.scaling
        }
        // Takes the focus on press: a name or address typed just before is sent first.
        MouseArea { id: area; anchors.fill: parent; onPressed: parent.forceActiveFocus(); onClicked: parent.clicked() }
    }

    Row {
        id: cells

        Cell {
            column: 0
            TickBox {
                objectName: "rowCheckBox"
                anchors.centerIn: parent
                viewScale: row.scaling
                checked: row.rowChecked
                onToggleRequested: {
                    row.rowChecked = newState
                    row.rowButton("checkBoxRow", newState ? "true" : "false", row.rowindex)
                }
            }
        }
        Cell {
            column: 1
            Text {
                anchors.centerIn: parent
                text: row.deviceno
                font.family: row.fontName
                font.pixelSize: 13 * row.scaling
            }
        }
        Cell {
            column: 2
            TextField {
                id: nameField
                objectName: "nameField"
                anchors.fill: parent
                anchors.margins: 2 * row.scaling
                text: row.devicename
                maximumLength: 8
                selectByMouse: true
                font.family: row.fontName
                font.pixelSize: 13 * row.scaling
                // An empty name is acceptable: a cleared name must end its edit and be sent.
                validator: RegExpValidator {
                    regExp: /[ -+-?-/0-@a-~A-Z＿-¶～ぁ-んァ-ヶ亜-龠〇一二三四五六七八九\\￥.]*/
                }
                // A "," would shift every column of the files the names are written to.
                onTextEdited: {
                    if (text.indexOf(",") >= 0)
                        text = text.replace(/,/g, "")
                    row.rowButton("addempty", "", row.rowindex)
                }
                onEditingFinished: row.rowButton("nameinputrow", text, row.rowindex)
            }
        }
        Cell {
            column: 3
            TextField {
                id: addressField
                objectName: "addressField"
                anchors.fill: parent
                anchors.margins: 2 * row.scaling
                text: row.ipaddress
                inputMask: "000.000.000.000"
                selectByMouse: true
                font.family: row.fontName
                font.pixelSize: 13 * row.scaling
                // Only a typed change is sent: leaving an untouched field must not turn an
                // address that was never set into a cleared one.
                property bool typed: false
                onTextEdited: typed = true
                onEditingFinished: {
                    if (!typed)
                        return
                    typed = false
                    row.rowButton("changeipaddress", text, row.rowindex)
                }
            }
        }
        Cell {
            column: 4
            RowCombo {
                model: row.inputTypes
                shown: row.inputtype
                onActivated: row.rowButton("combooptcoax", row.inputTypes[index], row.rowindex)
            }
        }
        Cell {
            column: 5
            RowCombo {
                model: row.wavelengths
                shown: row.hikariWaveLength === "" ? "" : row.hikariWaveLength + "nm"
                onActivated: row.rowButton("comhikariwavelength", row.wavelengths[index], row.rowindex)
            }
        }
        Cell {
            column: 6
            RowButton {
                objectName: "channelSettingButton"
                text: row.settingfile
                onClicked: row.rowButton("measurechannel", "", row.rowindex)
            }
        }
        Cell {
            column: 7
            RowCombo {
                model: row.cycles
                shown: row.cycleInterval
                onActivated: row.rowButton("comboCycleInterval", row.cycles[index], row.rowindex)
            }
        }
        Cell {
            column: 8
            RowButton {
                objectName: "validTimeButton"
                text: row.validtime
                onClicked: {
                    row.rowButton("validtime", "", row.rowindex)
                    timePopup.open()
                }
            }
        }
        Cell {
            column: 9
            RowButton {
                objectName: "connectionTestButton"
                text: "テスト"
                onClicked: row.rowButton("connecttest", "", row.rowindex)
            }
        }
    }

    Popup {
        id: timePopup
        objectName: "rowValidTimePopup"
        parent: Overlay.overlay
        anchors.centerIn: parent
        width: 400 * row.scaling
        height: 250 * row.scaling
        modal: true
        closePolicy: Popup.CloseOnEscape
        onOpened: {
            startHour.currentIndex = row.hour.indexOf(row.startH)
            startMinute.currentIndex = row.minutes.indexOf(row.startM)
            endHour.currentIndex = row.hour.indexOf(row.endH)
            endMinute.currentIndex = row.minutes.indexOf(row.endM)
            // A row shown as always valid opens as such: はい without a look keeps it.
            always.checked = row.validtime === "常時"
        }

        Column {
            objectName: "rowValidTimePopupContent"
            anchors.fill: parent
            spacing: 8 * row.scaling
            Text { text: "有効時間　変更"; font.family: row.fontName; font.pixelSize: 16 * row.scaling; font.bold: true }
            Row {
                spacing: 6 * row.scaling
                Text { text: qsTr("開始時刻"); width: 80 * row.scaling; font.family: row.fontName; font.pixelSize: 14 * row.scaling }
                ComboBox { id: startHour; objectName: "rowStartHour"; width: 80 * row.scaling; height: 30 * row.scaling; model: row.hour; enabled: !always.checked }
                ComboBox { id: startMinute; objectName: "rowStartMinute"; width: 80 * row.scaling; height: 30 * row.scaling; model: row.minutes; enabled: !always.checked }
                CheckBox { id: always; objectName: "rowAlwaysBox"; text: "常時"; font.family: row.fontName }
            }
            Row {
                spacing: 6 * row.scaling
                Text { text: qsTr("終了時刻"); width: 80 * row.scaling; font.family: row.fontName; font.pixelSize: 14 * row.scaling }
                ComboBox { id: endHour; objectName: "rowEndHour"; width: 80 * row.scaling; height: 30 * row.scaling; model: row.hour; enabled: !always.checked }
                ComboBox { id: endMinute; objectName: "rowEndMinute"; width: 80 * row.scaling; height: 30 * row.scaling; model: row.minutes; enabled: !always.checked }
            }
            Text { text: "変更しますか？"; font.family: row.fontName; font.pixelSize: 14 * row.scaling }
            Row {
                spacing: 12 * row.scaling
                Button {
                    objectName: "rowValidTimeYes"
                    text: "はい"
                    font.family: row.fontName
                    onClicked: {
                        var start = startHour.currentText + ":" + startMinute.currentText
                        var end = endHour.currentText + ":" + endMinute.currentText
                        if (!always.checked && start === end) {
                            row.sameTimeRefused()
                            return
                        }
                        row.timeChange("validtimerowchange", always.checked ? "常時" : start, end, row.rowindex)
                        timePopup.close()
                    }
                }
                Button { text: "いいえ"; font.family: row.fontName; onClicked: timePopup.close() }
            }
        }
    }
}
