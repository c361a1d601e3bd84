import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3
import velmora.levelchecker.measureResultModel 1.0
import velmora.levelchecker.statusErrorModel 1.0
import "./parts"

// The result list: the latest result of every device and channel, with ticking, folding,
// sorting, start and stop, the status-error popup and the CSV saves. It talks to its view
// model only through the signals, functions and properties below.
// An Item rather than a Page: a Page names its content item after the file's type, which
// would be found before the page by its object name.
Item {
    id: page
    objectName: "MeasurementResult"
    property string title: "測定結果"

    // Written by the view model.
    property int listCount: 0
    property bool allCheckBox: false
    property int popupListCount: 0
    property bool popupAllCheckBox: false
    property bool statusError: false
    property string errorMessage: ""
    property int popupErrorMessageRow: 0
    property bool measurementSaveText: false
    property real scaling: 1
    property string messagePopupText2: ""
    property int messagePopupTextLineCount: 6
    property int messagePopupFlg: 0

    // The page's own.
    property int dataListRowNo: 0
    property int fontsize: 14
    property var listColSize: [35, 60, 75, 40, 60, 90, 135, 70, 45, 65, 55, 55, 70, 55, 65]
    property string headerColor: "#35506e"
    property string textColor: "black"
    property bool channelLogSave: true
    property string messagePopupText: ""
    property string startStopPopupText: ""
    property string startStopPopupText2: ""
    property bool startStopPopupState: true
    property string message: "測定結果"
    property string fontName: "MS ゴシック"
    readonly property int listColumns: 15
    readonly property int headerWidth: 975
    readonly property int popupListColumns: 6
    readonly property var popupColSize: [40, 90, 60, 130, 110, 80]
    readonly property string errorColor: "#d66264"
    readonly property real rowHeight: 24

    // The list's model: the main view's shared result list.
    readonly property var resultModel: typeof measureResultModel !== "undefined" ? measureResultModel : null

    readonly property int dataListCheckBox: 0
    readonly property int dataListMeasurementStart: 1
    readonly property int dataListState: 2
    readonly property int dataListDetail: 3
    readonly property int dataListDeviceNo: 4
    readonly property int dataListName: 5
    readonly property int dataListTime: 6
    readonly property int dataListBand: 7
    readonly property int dataListCh: 8
    readonly property int dataListFreq: 9
    readonly property int dataListLevel: 10
    readonly property int dataListMer: 11
    readonly property int dataListBer: 12
    readonly property int dataListHikari: 13
    readonly property int datalistSettingCheck: 14
    readonly property int dataListDisplay: 15

    readonly property int deviceStatusNormal: 0
    readonly property int deviceStatusReturn: 1
    readonly property int deviceStatusAbnormal: 2
    readonly property int deviceStatusTimeout: 3

    signal buttonClicked(string button)
    signal listButtonClicked(string button, int index, int clicked)
    signal logSaveButtonClickedCheck()
    signal errorLogSaveButtonClickedCheck()
    signal selectChannelLogSaveButtonClicked(string fileName)
    signal selectErrorLogSaveButtonClicked(string fileName)
    signal comboboxChange(string name, string text)
    signal measurementSelectStartStop(bool start, bool all)

    function transit(screen) {
        if (ApplicationWindow.window && ApplicationWindow.window.transit)
            ApplicationWindow.window.transit(screen)
    }

    function messagePopupOpen(text) {
        messagePopupText = text
        messagePopup.open()
    }

    function logSaveDialogOpen() {
        saveDialog.open()
    }

    function statusPopupOpen() {
        statusPopup.open()
    }

    function statusPopupClose() {
        statusPopup.close()
    }

    function allCheckBoxFalse() {
        allCheckBox = false
    }

    function popupAllCheckBoxFalse() {
        popupAllCheckBox = false
    }

    function startStopPopupOpen(start) {
        startStopPopupState = start
        startStopPopupText = start ? "一括測定開始" : "一括測定停止"
        startStopPopupText2 = start ? "一括測定開始しますか？" : "一括測定停止しますか？"
        selectedDevicesOnly.checked = true
        startStopPopup.open()
    }

    function columnX(column) {
        var x = 0
        for (var i = 0; i < column; ++i)
            x += listColSize[i]
        return x
    }

    Rectangle {
        anchors.fill: parent
        color: "#eef2f7"
    }

    Flickable {
        id: zoomArea
        anchors.fill: parent
        contentWidth: design.width * page.scaling
        contentHeight: design.height * page.scaling
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        interactive: page.scaling > 1
        ScrollBar.horizontal: ScrollBar { policy: page.scaling > 1 ? ScrollBar.AsNeeded : ScrollBar.AlwaysOff }

        Item {
            id: design
            width: 1010
            height: Math.max(440, page.height / page.scaling)
            transform: Scale { xScale: page.scaling; yScale: page.scaling }

            Text {
                id: heading
                objectName: "heading"
                x: 16
                y: 6
                text: "測定結果　一覧"
                font.pixelSize: 18
                font.bold: true
                font.family: page.fontName
                color: page.headerColor
            }

            Row {
                id: bulkRow
                x: 16
                y: 36
                spacing: 12

                Row {
                    spacing: 6
                    anchors.verticalCenter: parent.verticalCenter
                    TickBox {
                        objectName: "allCheckBox"
                        anchors.verticalCenter: parent.verticalCenter
                        checked: page.allCheckBox
                        onToggleRequested: {
                            page.allCheckBox = newState
                            page.listButtonClicked("allCheckBox", 0, newState ? 1 : 0)
                        }
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: "全選択"
                        font.pixelSize: page.fontsize
                        font.family: page.fontName
                        color: page.textColor
                    }
                }

                Button {
                    objectName: "bulkStartButton"
                    text: "一括　測定開始"
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                    onClicked: page.startStopPopupOpen(true)
                }

                Button {
                    objectName: "bulkStopButton"
                    text: "一括　測定停止"
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                    onClicked: page.startStopPopupOpen(false)
                }
            }

            // The heading row: texts, and the two sort boxes.
            Item {
                id: header
                x: 16
                y: 80
                width: page.headerWidth
                height: 36

                Repeater {
                    model: [
                        "選択", "開始", "", "CH\n詳細", "", "名称", "日時", "BAND", "CH", "周波数\n[MHz]",
                        "レベル\n[dBuV]", "MER/CN\n[dB]", "BER", "光レベル\n[dBm]", "チャンネル\n設定"
                    ]
                    Rectangle {
                        x: page.columnX(index)
                        width: page.listColSize[index]
                        height: header.height
                        color: page.headerColor
                        border.color: "#eef2f7"
                        Text {
                            anchors.fill: parent
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            text: modelData
                            color: "white"
                            font.pixelSize: page.fontsize - 3
                            font.family: page.fontName
                            lineHeight: 0.9
                        }
                    }
                }

                SystemSettingComboBox {
                    objectName: "statusCombobox"
                    object: "statusCombobox"
                    x: page.columnX(page.dataListState) + 1
                    y: 3
                    width: page.listColSize[page.dataListState] - 2
                    height: header.height - 6
                    model: ["正常順", "エラー順"]
                    displayText: "ステータス"
                    measurement: page.statusError
                    measurementColor: page.errorColor
                    fontsize: 11
                    fontName: page.fontName
                    onEntryChosen: page.comboboxChange(name, text)
                }

                SystemSettingComboBox {
                    objectName: "deviceNoCombobox"
                    object: "deviceNoCombobox"
                    x: page.columnX(page.dataListDeviceNo) + 1
                    y: 3
                    width: page.listColSize[page.dataListDeviceNo] - 2
                    height: header.height - 6
                    model: ["昇順", "降順"]
                    displayText: "機器No"
                    fontsize: 11
                    fontName: page.fontName
                    onEntryChosen: page.comboboxChange(name, text)
                }
            }

            ListView {
                id: resultList
                objectName: "resultList"
                x: header.x
                anchors.top: header.bottom
                anchors.bottom: footer.top
                anchors.bottomMargin: 4
                width: page.headerWidth + 14
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                model: page.resultModel
                ScrollBar.vertical: ScrollBar { policy: page.listCount * page.rowHeight > resultList.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded }

                delegate: MeasurementResultList {
                    rowHeight: page.rowHeight
                    rowWidth: page.headerWidth
                    columnWidth: page.listColSize
                    dataListRowNo: index
                    fontsize: page.fontsize
                    fontName: page.fontName
                    rowDisplay: model.display
                    latestData: model.latestData
                    topDataVisible: model.topDataVisible
                    updateData: model.updateData
                    measurementStart: model.measurementStart
                    deviceNo: model.deviceNo
                    name: model.name
                    datatime: model.datatime
                    band: model.band
                    channel: model.channel
                    frequency: model.frequency
                    level: model.level
                    mer: model.mer
                    ber: model.ber
                    hikari: model.hikari
                    status: model.status
                    channelStatus: model.channelStatus
                    checkbox: model.checkbox
                    settingcheck: model.settingcheck
                    clicked: model.clicked
                    errorLevel: model.errorLevel
                    errorMer: model.errorMer
                    errorBer: model.errorBer
                    errorHikari: model.errorHikari
                    onListButtonClicked: page.listButtonClicked(button, index, clicked)
                    onStatusPopupOpen: page.statusPopupOpen()
                    onCheckBoxCleared: page.allCheckBoxFalse()
                }
            }

            Row {
                id: footer
                x: 16
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 8
                spacing: 16

                Text {
                    objectName: "measurementSaveText"
                    anchors.verticalCenter: parent.verticalCenter
                    visible: page.measurementSaveText
                    text: "測定結果保存中..."
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                    color: "#3c8d5a"
                }

                Button {
                    objectName: "channelLogSaveButton"
                    text: "選択データ保存"
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                    onClicked: {
                        page.channelLogSave = true
                        page.logSaveButtonClickedCheck()
                    }
                }
            }
        }
    }

    // Made when first asked for: making it with the page held the window for up to a fifth
    // of a second.
    Loader {
        id: saveDialog
        active: false
        function open() {
            active = true
            item.open()
        }
        sourceComponent: FileDialog {
            objectName: "saveDialog"
            title: "名前を付けて保存"
            nameFilters: ["csv (*.csv)"]
            selectExisting: false
            selectMultiple: false
            onAccepted: {
                console.log("You chose: " + fileUrl)
                if (page.channelLogSave)
                    page.selectChannelLogSaveButtonClicked(fileUrl.toString())
                else
                    page.selectErrorLogSaveButtonClicked(fileUrl.toString())
            }
        }
    }

    // Bulk start or stop: all devices or only the ticked ones.
    Popup {
        id: startStopPopup
        objectName: "startStopPopup"
        modal: true
        width: 400
        height: 180
        x: (page.width - width) / 2
        y: (page.height - height) / 2
        closePolicy: Popup.CloseOnEscape
        background: Rectangle { color: "white"; border.color: page.headerColor; radius: 4 }

        Text {
            x: 8
            y: 4
            text: page.startStopPopupText
            font.pixelSize: page.fontsize + 2
            font.bold: true
            font.family: page.fontName
            color: page.headerColor
        }
        Text {
            x: 8
            y: 34
            text: page.startStopPopupText2
            font.pixelSize: page.fontsize
            font.family: page.fontName
            color: page.textColor
        }
        Row {
            x: 8
            y: 62
            spacing: 12
            RadioButton {
                id: allDevices
                objectName: "allDevicesRadio"
                text: "全ての機器"
                font.pixelSize: page.fontsize
                font.family: page.fontName
            }
            RadioButton {
                id: selectedDevicesOnly
                objectName: "selectedDevicesRadio"
                text: "選択した機器のみ"
                checked: true
                font.pixelSize: page.fontsize
                font.family: page.fontName
            }
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            spacing: 24
            Button {
                objectName: "startStopYesButton"
                text: "はい"
                font.family: page.fontName
                onClicked: {
                    page.measurementSelectStartStop(page.startStopPopupState, allDevices.checked)
                    startStopPopup.close()
                }
            }
            Button {
                objectName: "startStopNoButton"
                text: "いいえ"
                font.family: page.fontName
                onClicked: startStopPopup.close()
            }
        }
    }

    Popup {
        id: statusPopup
        objectName: "statusPopup"
        // Set at the first opening; the list below has no model before.
        property bool everOpened: false
        onAboutToShow: everOpened = true
        modal: true
        width: 560
        height: Math.min(430, page.height - 8)
        x: (page.width - width) / 2
        y: Math.max(0, (page.height - height) / 2)
        closePolicy: Popup.CloseOnEscape
        padding: 10
        background: Rectangle { color: "white"; border.color: page.headerColor; radius: 4 }

        Text {
            id: statusTitle
            text: "ステータスエラー一覧"
            font.pixelSize: page.fontsize + 2
            font.bold: true
            font.family: page.fontName
            color: page.headerColor
        }

        Row {
            id: popupAllRow
            anchors.top: statusTitle.bottom
            anchors.topMargin: 6
            spacing: 6
            TickBox {
                objectName: "popupAllCheckBox"
                anchors.verticalCenter: parent.verticalCenter
                checked: page.popupAllCheckBox
                onToggleRequested: {
                    page.popupAllCheckBox = newState
                    page.listButtonClicked("statusPopupAllCheckBox", 0, newState ? 1 : 0)
                }
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "全選択"
                font.pixelSize: 13
                font.family: page.fontName
            }
        }

        Row {
            id: popupHeader
            anchors.top: popupAllRow.bottom
            anchors.topMargin: 4
            Repeater {
                model: ["選択", "ステータス", "機器No", "名称", "BAND", "CH"]
                Rectangle {
                    width: page.popupColSize[index]
                    height: 22
                    color: page.headerColor
                    border.color: "white"
                    Text {
                        anchors.centerIn: parent
                        text: modelData
                        color: "white"
                        font.pixelSize: 12
                        font.family: page.fontName
                    }
                }
            }
        }

        ListView {
            id: popupList
            objectName: "statusPopupList"
            anchors.top: popupHeader.bottom
            width: 524
            height: 150
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            // Rows not in error take no height, so the list would build a row for every
            // channel of every device while the page is made, long before anyone opens the
            // popup: it gets its model at the first opening.
            model: statusPopup.everOpened ? page.resultModel : null
            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
            delegate: StatusPopupList {
                columnWidth: page.popupColSize
                dataListRowNo: index
                fontName: page.fontName
                latestData: model.latestData
                channelStatus: model.channelStatus
                statusPoopupCheckbox: model.statusPoopupCheckbox
                statusPopupClicked: model.statusPopupClicked
                no: model.no
                name: model.name
                band: model.band
                channel: model.channel
                onListButtonClicked: page.listButtonClicked(button, index, clicked)
                onCheckBoxCleared: page.popupAllCheckBoxFalse()
            }
        }

        Text {
            id: errorLabel
            anchors.top: popupList.bottom
            anchors.topMargin: 6
            text: "選択した行のエラー内容"
            font.pixelSize: 13
            font.family: page.fontName
        }

        ScrollView {
            id: errorTextArea
            anchors.top: errorLabel.bottom
            anchors.topMargin: 2
            anchors.bottom: popupButtons.top
            anchors.bottomMargin: 6
            width: 524
            clip: true
            background: Rectangle { border.color: "#8a9bb0" }
            TextArea {
                objectName: "errorMessageText"
                readOnly: true
                text: page.errorMessage
                font.pixelSize: 12
                font.family: page.fontName
                wrapMode: TextEdit.NoWrap
            }
        }

        Row {
            id: popupButtons
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            spacing: 16
            Button {
                objectName: "errorResetButton"
                text: "エラー解除"
                font.family: page.fontName
                onClicked: page.buttonClicked("errorReset")
            }
            Button {
                objectName: "errorLogSaveButton"
                text: "ログ保存"
                font.family: page.fontName
                onClicked: {
                    page.channelLogSave = false
                    page.errorLogSaveButtonClickedCheck()
                }
            }
            Button {
                objectName: "statusPopupCloseButton"
                text: "閉じる"
                font.family: page.fontName
                onClicked: statusPopup.close()
            }
        }
    }

    Popup {
        id: messagePopup
        objectName: "messagePopup"
        modal: true
        width: 420
        height: page.messagePopupFlg === 1 ? 120 + page.messagePopupTextLineCount * 18 : 160
        x: (page.width - width) / 2
        y: Math.max(0, (page.height - height) / 2)
        closePolicy: Popup.CloseOnEscape
        background: Rectangle { color: "white"; border.color: page.headerColor; radius: 4 }
        onClosed: page.messagePopupFlg = 0

        Column {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: okButton.top
            anchors.bottomMargin: 8
            spacing: 6

            Text {
                objectName: "messagePopupHeading"
                visible: page.messagePopupFlg === 1
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: page.messagePopupText2
                font.pixelSize: 13
                font.family: page.fontName
                color: page.textColor
            }

            Text {
                objectName: "messagePopupText"
                visible: page.messagePopupFlg !== 1
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                text: page.messagePopupText
                font.pixelSize: 14
                font.family: page.fontName
                color: page.textColor
            }

            ScrollView {
                visible: page.messagePopupFlg === 1
                width: parent.width
                height: Math.min(page.messagePopupTextLineCount, 8) * 18 + 8
                clip: true
                TextArea {
                    objectName: "messagePopupList"
                    readOnly: true
                    text: page.messagePopupText
                    font.pixelSize: 13
                    font.family: page.fontName
                }
            }
        }

        Button {
            id: okButton
            objectName: "messageOkButton"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            text: "OK"
            onClicked: messagePopup.close()
        }
    }
}
