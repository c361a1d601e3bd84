import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3
import velmora.levelchecker.deviceSettingModel 1.0
import velmora.levelchecker.informationListModel 1.0
import "./parts"

// The device registration page: the table of devices, the bulk changes, the identity list
// and the apply. It holds no device data: every action leaves as a button name with a value
// and a row, and the view model answers through the list models, the properties below and
// numbered pop-ups.
// An Item rather than a Page: a Page names its content item after the file's type, which
// would be found before the page by its object name.
Item {
    id: page
    objectName: "DeviceSetting"
    property string title: qsTr("機器設定")

    // Written by the view model.
    property real scaling: 1
    property int rowindex: 0
    property int rowdata: 0
    property var hour: []
    property var minutes: []
    property string startH: "00"
    property string startM: "00"
    property string endH: "23"
    property string endM: "59"
    property string ipaddrtext: ""
    property string settngtext: "設定中です。\nしばらくお待ちください。"
    property bool settingok: false
    // The number of the message pop-up on show; the view model reads it.
    property int validTimeErrorPopupFlg: 0

    // The page's own.
    property string allcheckstring: "false"
    property int channelColumns: 10
    property int infoColumns: 6
    property string fontName: "MS ゴシック"
    readonly property var headerColumnName: ["選択", "機器No", "名称", "IPアドレス", "同軸/光", "光波長選択",
                                             "チャンネル設定", "サイクル間隔", "アラート\n有効時間", "接続テスト"]
    readonly property var columnWidths: [40, 50, 110, 140, 80, 95, 100, 80, 130, 80]
    readonly property real tableWidth: columnWidths.reduce(function(sum, width) { return sum + width }, 0)
    // The table's rows are made a slice at a time between other events, as the start-up
    // makes its pages: fifty rows at once held the window for a sixth of a second.
    readonly property int rowsPerSlice: 5
    property int rowsMade: rowsPerSlice
    readonly property var infoHeaderName: ["機器No", "名称", "IPアドレス", "シリアル番号", "MACアドレス", "FW バージョン"]
    readonly property var infoColumnWidths: [60, 120, 140, 150, 170, 130]
    readonly property string headerColor: "#35506e"
    readonly property var messageTexts: ({
        1: "正常に接続されています。",
        2: "接続出来ませんでした。",
        3: "確認中です。\nしばらくお待ちください。",
        5: "設定を破棄しますか？",
        6: "同一の時刻は入力できません。",
        7: "IPアドレスが入力されていません。",
        8: " の\nIPアドレス(第1オクテット)が不正です。\n1 から 223 までの数値を入力してください。",
        9: " の\nIPアドレス(第2-4オクテット)が不正です。\n0 から 255 までの数値を入力してください。",
        10: "測定を中断して、\n全ての機器から情報を取得します。\nよろしいですか？"
    })

    signal buttonClicked(string buttonName)
    signal rowbuttonclicked(string buttonname, string buttonvalue, int rowvalue)
    signal changetimeclicked(string buttonname, string timestart, string timeend, int timerow)
    signal changeDestroy()

    function transit(screen) {
        ApplicationWindow.window.transit(screen)
    }

    // Shows the numbered message pop-up.
    function onOpenPopup(popupNumber) {
        var number = Number(popupNumber)
        validTimeErrorPopupFlg = number
        messagePopup.number = number
        messagePopup.open()
    }

    function set() {
        rowindex = deviceSettingModel.rowCount()
    }

    function messageText(number) {
        if (number === 4 || number === 11)
            return settngtext
        if (number === 8 || number === 9)
            return ipaddrtext + messageTexts[number]
        return messageTexts[number] !== undefined ? messageTexts[number] : ""
    }

    Rectangle {
        anchors.fill: parent
        color: "#eef2f7"
    }

    component ActionButton: Rectangle {
        property alias text: caption.text
        signal clicked()
        width: Math.max(150, caption.implicitWidth / page.scaling + 24) * page.scaling
        height: 32 * page.scaling
        radius: 4 * page.scaling
        color: area.pressed ? "#27415f" : page.headerColor
        Text {
            id: caption
            anchors.centerIn: parent
            color: "white"
            font.family: page.fontName
            font.pixelSize: 14 * page.scaling
        }
        // Taking the focus on press ends the edit of a field typed into just before, so its
        // text is sent before the click acts.
        MouseArea { id: area; anchors.fill: parent; onPressed: parent.forceActiveFocus(); onClicked: parent.clicked() }
    }

    Flickable {
        id: flick
        anchors.fill: parent
        contentWidth: content.width + 40 * page.scaling
        contentHeight: content.height + 40 * page.scaling
        clip: true
        ScrollBar.vertical: ScrollBar {}
        ScrollBar.horizontal: ScrollBar {}

        Column {
            id: content
            x: 20 * page.scaling
            y: 12 * page.scaling
            spacing: 10 * page.scaling

            Text {
                text: qsTr("機器登録・設定")
                color: "#27364a"
                font.family: page.fontName
                font.pixelSize: 22 * page.scaling
            }

            Row {
                spacing: 16 * page.scaling
                ActionButton {
                    objectName: "deviceInformationButton"
                    text: qsTr("機種情報確認")
                    onClicked: {
                        page.buttonClicked("deviceInfomation")
                        page.onOpenPopup(10)
                    }
                }
                Rectangle {
                    width: bulkRow.width + 20 * page.scaling
                    height: bulkRow.height + 26 * page.scaling
                    color: "transparent"
                    border.color: "#8ea0b4"
                    radius: 4 * page.scaling
                    Text {
                        x: 8 * page.scaling
                        y: 2 * page.scaling
                        text: qsTr("選択機器の変更")
                        font.family: page.fontName
                        font.pixelSize: 12 * page.scaling
                        color: "#27364a"
                    }
                    Row {
                        id: bulkRow
                        x: 10 * page.scaling
                        y: 18 * page.scaling
                        spacing: 8 * page.scaling
                        ActionButton {
                            text: qsTr("同軸/光 一括変更")
                            onClicked: { page.buttonClicked("switchOptcoax"); bulkPopup.show("optcoax") }
                        }
                        ActionButton {
                            objectName: "bulkCycleButton"
                            text: qsTr("サイクル間隔 一括変更")
                            onClicked: bulkPopup.show("cycle")
                        }
                        ActionButton {
                            text: qsTr("有効時間 一括変更")
                            onClicked: { page.buttonClicked("validTime"); bulkPopup.show("validtime") }
                        }
                        ActionButton {
                            text: qsTr("光波長 一括変更")
                            onClicked: { page.buttonClicked("switchHikariWaveLength"); bulkPopup.show("wavelength") }
                        }
                    }
                }
            }

            // The device-list import and export: not shown.
            Row {
                visible: false
                spacing: 8 * page.scaling
                ActionButton { text: qsTr("設定呼び出し"); onClicked: openDialog.open() }
                ActionButton { text: qsTr("設定保存"); onClicked: saveDialog.open() }
            }

            Row {
                spacing: 6 * page.scaling
                TickBox {
                    objectName: "allCheckBox"
                    anchors.verticalCenter: parent.verticalCenter
                    viewScale: page.scaling
                    checked: page.allcheckstring === "true"
                    onToggleRequested: page.setAllChecked(newState)
                }
                Text {
                    text: qsTr("全選択")
                    font.family: page.fontName
                    font.pixelSize: 14 * page.scaling
                    MouseArea { anchors.fill: parent; onClicked: page.setAllChecked(page.allcheckstring !== "true") }
                }
            }

            Column {
                Row {
                    Repeater {
                        model: page.headerColumnName
                        Rectangle {
                            width: page.columnWidths[index] * page.scaling
                            height: 40 * page.scaling
                            color: page.headerColor
                            border.color: "#c5ced9"
                            Text {
                                anchors.centerIn: parent
                                text: modelData
                                color: "white"
                                horizontalAlignment: Text.AlignHCenter
                                font.family: page.fontName
                                font.pixelSize: 13 * page.scaling
                            }
                        }
                    }
                }
                Rectangle {
                    objectName: "settingList"
                    width: rows.width
                    height: rows.height
                    color: "transparent"
                    Column {
                        id: rows
                        Repeater {
                            id: rowsRepeater
                            objectName: "settingListRowsRepeater"
                            model: deviceSettingModel
                            Loader {
                                active: index < page.rowsMade
                                width: page.tableWidth * page.scaling
                                height: 34 * page.scaling
                                sourceComponent: SettingListRowEdit {
                                    rowindex: index
                                    scaling: page.scaling
                                    fontName: page.fontName
                                    columnWidths: page.columnWidths
                                    allcheckstring: page.allcheckstring
                                    hour: page.hour
                                    minutes: page.minutes
                                    startH: page.startH
                                    startM: page.startM
                                    endH: page.endH
                                    endM: page.endM
                                    deviceno: model.deviceno
                                    devicename: model.devicename
                                    ipaddress: model.ipaddress
                                    inputtype: model.inputtype
                                    settingfile: model.settingfile
                                    validtime: model.validtime
                                    cycleInterval: model.cycleInterval
                                    hikariWaveLength: model.hikariWaveLength
                                    onRowButton: page.rowbuttonclicked(name, value, row)
                                    onTimeChange: page.changetimeclicked(name, start, end, row)
                                    onSameTimeRefused: page.onOpenPopup(6)
                                }
                            }
                        }
                    }
                }
            }

            Item {
                width: rows.width
                height: 36 * page.scaling
                ActionButton {
                    objectName: "applyButton"
                    anchors.right: parent.right
                    width: 120 * page.scaling
                    text: qsTr("適用")
                    onClicked: page.buttonClicked("settingConfirmed")
                }
            }
        }
    }

    Timer {
        // Not 0: such a timer never fires.
        interval: 1
        repeat: true
        running: page.rowsMade < rowsRepeater.count
        onTriggered: page.rowsMade += page.rowsPerSlice
    }

    // The table filled anew keeps its rows: each starts again as a new one would.
    Connections {
        target: deviceSettingModel
        function onRowsReplaced() {
            for (var i = 0; i < rowsRepeater.count; ++i) {
                var made = rowsRepeater.itemAt(i)
                if (made && made.item)
                    made.item.startAgain()
            }
        }
    }

    function setAllChecked(state) {
        allcheckstring = state ? "true" : "false"
        rowbuttonclicked("allcheckclicked", allcheckstring, 0)
    }

    // The file dialogs are made when first asked for: making them with the page held the
    // window for up to a fifth of a second.
    Loader {
        id: openDialog
        objectName: "importDialogLoader"
        active: false
        function open() {
            active = true
            item.open()
        }
        sourceComponent: FileDialog {
            objectName: "importDialog"
            title: "ファイルを選択してください"
            selectExisting: true
            selectMultiple: false
            onAccepted: page.rowbuttonclicked("bulkLoading", fileUrl.toString(), 0)
        }
    }

    Loader {
        id: saveDialog
        objectName: "exportDialogLoader"
        active: false
        function open() {
            active = true
            item.open()
        }
        sourceComponent: FileDialog {
            objectName: "exportDialog"
            title: "フォルダを選択してください"
            nameFilters: ["csv (*.csv)"]
            selectExisting: false
            selectMultiple: false
            onAccepted: page.rowbuttonclicked("bulkexport", fileUrl.toString(), 0)
        }
    }

    // The four bulk changes: all rows or the ticked ones.
    Popup {
        id: bulkPopup
        objectName: "bulkPopup"
        property string kind: "optcoax"
        readonly property var titles: ({ optcoax: "同軸/光　一括変更", cycle: "サイクル間隔　一括変更",
                                          validtime: "有効時間　一括変更", wavelength: "光波長　一括変更" })
        readonly property var choices: ({ optcoax: ["同軸", "光"], cycle: ["連続", "5分", "15分", "30分", "60分"],
                                           validtime: [], wavelength: ["1300", "1310", "1490", "1550", "1625"] })
        readonly property var allNames: ({ optcoax: "allChangeOptCoax", cycle: "allChangeCycleInterval",
                                            wavelength: "allChangeWaveLength" })
        readonly property var checkedNames: ({ optcoax: "checkChangeOptCoax", cycle: "checkChangeCycleInterval",
                                                wavelength: "checkChangeWaveLength" })
        function show(newKind) {
            kind = newKind
            choice.currentIndex = 0
            allDevices.checked = true
            bulkStartH.currentIndex = 0
            bulkStartM.currentIndex = 0
            bulkEndH.currentIndex = 23
            bulkEndM.currentIndex = 59
            bulkAlways.checked = false
            open()
        }
        anchors.centerIn: parent
        width: 400 * page.scaling
        height: (kind === "validtime" ? 250 : 220) * page.scaling
        modal: true
        closePolicy: Popup.CloseOnEscape

        Column {
            anchors.fill: parent
            spacing: 8 * page.scaling
            Text {
                text: bulkPopup.titles[bulkPopup.kind]
                font.family: page.fontName
                font.pixelSize: 16 * page.scaling
                font.bold: true
            }
            ComboBox {
                id: choice
                objectName: "bulkChoice"
                visible: bulkPopup.kind !== "validtime"
                width: 160 * page.scaling
                font.family: page.fontName
                model: bulkPopup.choices[bulkPopup.kind]
            }
            Column {
                visible: bulkPopup.kind === "validtime"
                spacing: 4 * page.scaling
                Row {
                    spacing: 6 * page.scaling
                    Text { text: qsTr("開始時刻"); width: 80 * page.scaling; font.family: page.fontName; font.pixelSize: 14 * page.scaling }
                    ComboBox { id: bulkStartH; width: 80 * page.scaling; height: 30 * page.scaling; model: page.hour; enabled: !bulkAlways.checked }
                    ComboBox { id: bulkStartM; width: 80 * page.scaling; height: 30 * page.scaling; model: page.minutes; enabled: !bulkAlways.checked }
                    CheckBox { id: bulkAlways; text: "常時"; font.family: page.fontName }
                }
                Row {
                    spacing: 6 * page.scaling
                    Text { text: qsTr("終了時刻"); width: 80 * page.scaling; font.family: page.fontName; font.pixelSize: 14 * page.scaling }
                    ComboBox { id: bulkEndH; objectName: "bulkEndHour"; width: 80 * page.scaling; height: 30 * page.scaling; model: page.hour; enabled: !bulkAlways.checked }
                    ComboBox { id: bulkEndM; objectName: "bulkEndMinute"; width: 80 * page.scaling; height: 30 * page.scaling; model: page.minutes; enabled: !bulkAlways.checked }
                }
            }
            Row {
                spacing: 10 * page.scaling
                RadioButton { id: allDevices; text: "全ての機器"; checked: true; font.family: page.fontName }
                RadioButton { id: checkedDevices; objectName: "bulkCheckedDevices"; text: "選択した機器のみ"; font.family: page.fontName }
            }
            Text { text: "一括変更しますか？"; font.family: page.fontName; font.pixelSize: 14 * page.scaling }
            Row {
                spacing: 12 * page.scaling
                Button {
                    objectName: "bulkYes"
                    text: "はい"
                    font.family: page.fontName
                    onClicked: {
                        if (bulkPopup.kind === "validtime") {
                            var start = bulkStartH.currentText + ":" + bulkStartM.currentText
                            var end = bulkEndH.currentText + ":" + bulkEndM.currentText
                            if (!bulkAlways.checked && start === end) {
                                page.onOpenPopup(6)
                                return
                            }
                            page.changetimeclicked(allDevices.checked ? "validtimebulkchange" : "validtimecheckchange",
                                                   bulkAlways.checked ? "常時" : start, end, 0)
                        } else {
                            page.rowbuttonclicked(allDevices.checked ? bulkPopup.allNames[bulkPopup.kind]
                                                                     : bulkPopup.checkedNames[bulkPopup.kind],
                                                  choice.currentText, 0)
                        }
                        bulkPopup.close()
                    }
                }
                Button { text: "いいえ"; font.family: page.fontName; onClicked: bulkPopup.close() }
            }
        }
    }

    // The identity list.
    Popup {
        id: informationPopup
        objectName: "informationPopup"
        anchors.centerIn: parent
        width: Math.min(page.width - 20 * page.scaling, 800 * page.scaling)
        height: Math.min(page.height - 20 * page.scaling, 420 * page.scaling)
        modal: true
        closePolicy: Popup.CloseOnEscape

        Column {
            anchors.fill: parent
            spacing: 8 * page.scaling
            Text {
                text: qsTr("機種情報確認")
                font.family: page.fontName
                font.pixelSize: 16 * page.scaling
                font.bold: true
            }
            Row {
                Repeater {
                    model: page.infoHeaderName
                    Rectangle {
                        width: page.infoColumnWidths[index] * page.scaling
                        height: 30 * page.scaling
                        color: page.headerColor
                        Text {
                            anchors.centerIn: parent
                            text: modelData
                            color: "white"
                            font.family: page.fontName
                            font.pixelSize: 13 * page.scaling
                        }
                    }
                }
            }
            ListView {
                objectName: "informationRow"
                width: parent.width
                height: informationPopup.availableHeight - 120 * page.scaling
                clip: true
                model: informationListModel
                ScrollBar.vertical: ScrollBar {}
                delegate: InfoListRowEdit {
                    scaling: page.scaling
                    fontName: page.fontName
                    columnWidths: page.infoColumnWidths
                    infodeviceno: model.infodeviceno
                    infodevicename: model.infodevicename
                    infoipaddress: model.infoipaddress
                    infoserialnumber: model.infoserialnumber
                    infomacaddress: model.infomacaddress
                    infofwversion: model.infofwversion
                }
            }
            Row {
                spacing: 12 * page.scaling
                Button { text: qsTr("更新"); font.family: page.fontName; onClicked: page.onOpenPopup(10) }
                Button { text: qsTr("閉じる"); font.family: page.fontName; onClicked: informationPopup.close() }
            }
        }
    }

    // The numbered messages.
    Popup {
        id: messagePopup
        objectName: "messagePopup"
        property int number: 0
        readonly property bool waits: number === 4 || number === 11
        // The connection test's pop-up is replaced by its verdict, which can then be closed.
        readonly property bool checking: number === 3
        readonly property bool asks: number === 5 || number === 10
        anchors.centerIn: parent
        width: Math.max(300 * page.scaling, messageBody.width + 40 * page.scaling)
        height: Math.max(150 * page.scaling, messageBody.height + 80 * page.scaling)
        modal: true
        closePolicy: Popup.NoAutoClose
        onClosed: page.validTimeErrorPopupFlg = 0

        Text {
            id: messageBody
            objectName: "messageText"
            anchors.horizontalCenter: parent.horizontalCenter
            y: 10 * page.scaling
            // A readout's end can name many devices: the line wraps inside the window.
            width: Math.min(implicitWidth, page.width - 80 * page.scaling)
            wrapMode: Text.Wrap
            text: page.messageText(messagePopup.number)
            horizontalAlignment: Text.AlignHCenter
            font.family: page.fontName
            font.pixelSize: 14 * page.scaling
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            spacing: 12 * page.scaling
            Button {
                objectName: "messageOk"
                visible: !messagePopup.asks && !messagePopup.checking && (!messagePopup.waits || page.settingok)
                text: "OK"
                onClicked: messagePopup.close()
            }
            Button {
                objectName: "messageYes"
                visible: messagePopup.asks
                text: "はい"
                font.family: page.fontName
                onClicked: {
                    var number = messagePopup.number
                    messagePopup.close()
                    if (number === 5) {
                        page.changeDestroy()
                    } else if (number === 10) {
                        informationPopup.open()
                        page.buttonClicked("settingConfirmedAll")
                    }
                }
            }
            Button {
                objectName: "messageNo"
                visible: messagePopup.asks
                text: "いいえ"
                font.family: page.fontName
                onClicked: messagePopup.close()
            }
        }
    }
}
