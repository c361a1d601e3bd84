import QtQuick 2.15
import QtQuick.Controls 2.15
import velmora.levelchecker.channelDetailsModel 1.0
import "parts"

// The channel details page: one editable row per measured channel of the device, the bulk
// changes of the CATV standard and of the thresholds, and the return and complete buttons.
// It talks to its view model only through the signals, functions and properties below.
// An Item rather than a Page: a Page names its content item after the file's type, which
// would be found before the page by its object name.
Item {
    id: page
    objectName: "ChannelDetails"

    // Written by the view model.
    property int numbers: 0
    property string currentfile: ""
    property real scaling: 1
    property string ofdmMerCnr: ""
    property string catvMerCnr: ""

    // The page's own.
    property bool allcheckstate: false
    // While a save puts the settings into service its pop-up has no OK and stays up.
    property bool saving: false
    property var measurementItemList: ["選択", "No", "BAND", "CH", "周波数\n[MHz]", "放送規格", "局発\n[GHz]",
        "給電", "LEVEL\n[dBuV]", "MER/CN\n[dB]", "BER", "光レベル\n[dBm]"]
    property int headerColumns: 2
    property int channelColumns: 14
    property string idlebg: "button_19.png"
    property string pressbg: "button_37.png"
    property bool buttonpress: false
    property string fontName: "MS ゴシック"
    property int fontsize: 13
    property string headerColor: "#35506e"
    readonly property var columnWidth: [36, 32, 100, 44, 72, 76, 78, 72, 60, 60, 58, 76, 62, 62]
    readonly property int listWidth: 888
    readonly property real rowHeight: 28
    readonly property var popupTexts: ({
        1: "レベル下限の数値が不正です。\n 20.0 ～ 120.0　の範囲で入力してください。",
        2: "レベル上限の数値が不正です。\n 20.0 ～ 120.0　の範囲で入力してください。",
        3: "CATV（ISDBC) または スカパー！\nのMERの数値が不正です。\n 20.0 ～ 40.0 の範囲で入力してください。",
        4: "MER/CNの数値が不正です。\n 5.0 ～ 35.0 の範囲で入力してください。",
        5: "BERの数値が不正です。",
        6: "設定中です。\nしばらくお待ちください。",
        8: "JCSAT-3A/4B または SCC-B/C\nのCNの数値が不正です。\n 5.0 ～ 25.0 の範囲で入力してください。",
        9: "LEVELの下限値は\nLEVELの上限値より\n小さい数値を入力してください。",
        10: "光レベル下限の数値が不正です。\n 00.0 の形式で入力してください。",
        11: "光レベル下限の数値が不正です。\n -30.0 ～ 5.0 の範囲で入力してください。",
        12: "光レベル上限の数値が不正です。\n 00.0 の形式で入力してください。",
        13: "光レベル上限の数値が不正です。\n -30.0 ～ 5.0 の範囲で入力してください。",
        14: "換算CN(地デジ)の数値が不正です。\n 5.0 ～ 35.0 の範囲で入力してください。",
        15: "換算CN(CATV[ISDBT])の数値が不正です。\n 5.0 ～ 35.0 の範囲で入力してください。",
        16: "光レベルの下限値は\n光レベルの上限値より\n小さい数値を入力してください。",
        17: "チャンネル設定を読み込めません。\nチャンネル設定画面からやり直してください。",
        18: "設定ファイルを保存できませんでした。\n機器の設定は変更されていません。",
        19: "機器の測定を停止できなかったため\n設定を機器に反映できませんでした。\n機器は停止中のままです。"
    })

    signal detailChange(string bandname, string chname, string buttonName, string model, string alert,
                        int rowIndex, string substr1, string substr2, string substr3)
    signal saveSignal(bool save)
    signal changeDestroy()
    signal notChangeDestroy()

    function transit(screen) {
        if (ApplicationWindow.window && ApplicationWindow.window.transit)
            ApplicationWindow.window.transit(screen)
    }

    function onOpenPopup(popupNumber) {
        if (popupNumber === 7) {
            discardPopup.open()
            return
        }
        saving = popupNumber === 6
        popuptext2.text = popupTexts[popupNumber] !== undefined ? popupTexts[popupNumber] : ""
        channeldetailsPopup.open()
    }

    function columnX(column) {
        var x = 0
        for (var i = 0; i < column; ++i)
            x += columnWidth[i]
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
                id: pageName
                objectName: "pageName"
                x: 16
                y: 6
                text: qsTr("測定チャンネル設定　チャンネル詳細")
                font.pixelSize: 18
                font.bold: true
                font.family: page.fontName
                color: page.headerColor
            }

            // Bulk changes of the chosen channels.
            Rectangle {
                id: bulkchangesrow
                objectName: "bulkchangesrow"
                x: 460
                y: 4
                width: 534
                height: 40
                color: "transparent"
                border.color: "#8a9bb0"
                radius: 3
                Text {
                    x: 8
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("選択チャンネルの変更")
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                    color: page.headerColor
                }
                Row {
                    anchors.right: parent.right
                    anchors.rightMargin: 6
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 8
                    Button {
                        objectName: "catvBulkButton"
                        height: 30
                        text: qsTr("CATV放送規格 一括変更")
                        font.pixelSize: page.fontsize
                        font.family: page.fontName
                        onClicked: catvchange.open()
                    }
                    Button {
                        objectName: "alertBulkButton"
                        height: 30
                        text: qsTr("アラート設定 一括変更")
                        font.pixelSize: page.fontsize
                        font.family: page.fontName
                        onClicked: alertPopup.open()
                    }
                }
            }

            // Heading: the all-check box, the two groups and the item titles.
            Item {
                id: header
                x: 16
                y: 50
                width: page.listWidth
                height: 58

                CheckBox {
                    id: allcheckbox
                    objectName: "allcheckbox"
                    x: 0
                    y: 0
                    height: 22
                    padding: 0
                    indicator.width: 16
                    indicator.height: 16
                    text: "全選択"
                    font.pixelSize: page.fontsize - 1
                    font.family: page.fontName
                    checked: page.allcheckstate
                    onToggled: {
                        page.allcheckstate = checked
                        page.detailChange("", "", "allcheckbox", checked ? "true" : "false", "", 0, "", "", "")
                    }
                }

                Rectangle {
                    x: page.columnX(2)
                    width: page.columnX(8) - x
                    height: 22
                    color: "#5b7897"
                    border.color: "#eef2f7"
                    Text {
                        anchors.centerIn: parent
                        text: "チャンネル設定"
                        color: "white"
                        font.pixelSize: page.fontsize
                        font.family: page.fontName
                    }
                }
                Rectangle {
                    x: page.columnX(8)
                    width: page.columnX(14) - x
                    height: 22
                    color: "#5b7897"
                    border.color: "#eef2f7"
                    Text {
                        anchors.centerIn: parent
                        text: "アラート設定"
                        color: "white"
                        font.pixelSize: page.fontsize
                        font.family: page.fontName
                    }
                }

                Repeater {
                    // Title and first and last column of each item; LEVEL and the optical
                    // level cover their lower and upper threshold.
                    model: [[0, 0], [1, 1], [2, 2], [3, 3], [4, 4], [5, 5], [6, 6], [7, 7], [8, 9], [10, 10],
                        [11, 11], [12, 13]]
                    Rectangle {
                        x: page.columnX(modelData[0])
                        y: 22
                        width: page.columnX(modelData[1] + 1) - x
                        height: 36
                        color: page.headerColor
                        border.color: "#eef2f7"
                        Text {
                            anchors.fill: parent
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            text: page.measurementItemList[index]
                            color: "white"
                            font.pixelSize: page.fontsize - 2
                            font.family: page.fontName
                            lineHeight: 0.9
                        }
                    }
                }
            }

            Flickable {
                id: listArea
                objectName: "listArea"
                x: header.x
                anchors.top: header.bottom
                anchors.bottom: footer.top
                anchors.bottomMargin: 6
                width: page.listWidth + 14
                contentWidth: page.listWidth
                contentHeight: settingList.height
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

                Rectangle {
                    id: settingList
                    objectName: "settingList"
                    width: page.listWidth
                    height: Math.max(1, settingListRowsRepeater.count * page.rowHeight)
                    color: "transparent"

                    Column {
                        Repeater {
                            id: settingListRowsRepeater
                            objectName: "settingListRowsRepeater"
                            model: channelDetailsModel
                            delegate: ChannelList {
                                objectName: "channelRow" + index
                                rowindex: index
                                allcheckvalue: page.allcheckstate
                                columnWidth: page.columnWidth
                                rowHeight: page.rowHeight
                                fontsize: page.fontsize
                                fontName: page.fontName
                                channelNo: model.channelNo
                                bandName: model.BandName
                                channelName: model.ChannelName
                                frequencyCode: model.Frequencycode
                                modelBroadbandCode: model.Broadband
                                modelLocalFrequencyCode: model.LocalFrequency
                                modelPowerSupplyCode: model.PowerSupply
                                levelMin: model.LevelMin
                                levelMax: model.LevelMax
                                mer: model.Mer
                                ber: model.Ber
                                hikariLevelMin: model.HikariLevelMin
                                hikariLevelMax: model.HikariLevelMax
                                convCnr: model.ConvCNR
                                onDetailChange: page.detailChange(bandname, chname, buttonName, model, alert,
                                                                  rowIndex, substr1, substr2, substr3)
                            }
                        }
                    }
                }
            }

            Item {
                id: footer
                x: 16
                width: page.listWidth
                height: 40
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 6

                ButtonTemplate {
                    id: returnbutton
                    objectName: "returnbutton"
                    anchors.left: parent.left
                    anchors.verticalCenter: parent.verticalCenter
                    idlebg: page.idlebg
                    activebg: page.idlebg
                    pressbg: page.pressbg
                    message: qsTr("戻る")
                    fontSize: 14
                    defaultFontName: page.fontName
                    pressTextColor: "#b7b7b7"
                    MouseArea {
                        anchors.fill: parent
                        onPressed: returnbutton.press = true
                        onReleased: returnbutton.press = false
                        onCanceled: returnbutton.press = false
                        onClicked: page.detailChange("returnbutton", "", "", "", "", 0, "", "", "")
                    }
                }

                Text {
                    id: filename
                    objectName: "filename"
                    anchors.left: returnbutton.right
                    anchors.leftMargin: 16
                    anchors.right: nextbutton.left
                    anchors.rightMargin: 16
                    anchors.verticalCenter: parent.verticalCenter
                    horizontalAlignment: Text.AlignHCenter
                    elide: Text.ElideRight
                    text: page.currentfile
                    font.pixelSize: page.fontsize + 1
                    font.family: page.fontName
                    color: page.headerColor
                }

                ButtonTemplate {
                    id: nextbutton
                    objectName: "nextbutton"
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    idlebg: page.idlebg
                    activebg: page.idlebg
                    pressbg: page.pressbg
                    press: page.buttonpress
                    message: qsTr("完了")
                    fontSize: 14
                    defaultFontName: page.fontName
                    pressTextColor: "#b7b7b7"
                    MouseArea {
                        anchors.fill: parent
                        onPressed: page.buttonpress = true
                        onReleased: page.buttonpress = false
                        onCanceled: page.buttonpress = false
                        onClicked: page.saveSignal(true)
                    }
                }
            }
        }
    }

    component PopupFrame: Popup {
        modal: true
        x: (page.width - width) / 2
        y: Math.max(0, (page.height - height) / 2)
        closePolicy: Popup.CloseOnEscape
        background: Rectangle { color: "white"; border.color: page.headerColor; radius: 4 }
    }

    PopupFrame {
        id: channeldetailsPopup
        objectName: "channeldetailsPopup"
        width: 420
        height: 180
        closePolicy: page.saving ? Popup.NoAutoClose : Popup.CloseOnEscape
        Text {
            id: popuptext2
            objectName: "popuptext2"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: popupOk.top
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            wrapMode: Text.Wrap
            font.pixelSize: 14
            font.family: page.fontName
        }
        Button {
            id: popupOk
            objectName: "popupOkButton"
            visible: !page.saving
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            text: "OK"
            onClicked: channeldetailsPopup.close()
        }
    }

    PopupFrame {
        id: discardPopup
        objectName: "discardPopup"
        width: 360
        height: 150
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            y: 20
            text: "変更を破棄しますか？"
            font.pixelSize: 15
            font.family: page.fontName
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            spacing: 24
            Button {
                objectName: "discardbutton"
                text: "はい"
                font.family: page.fontName
                onClicked: {
                    discardPopup.close()
                    page.changeDestroy()
                }
            }
            Button {
                objectName: "settingRevocation"
                text: "いいえ"
                font.family: page.fontName
                onClicked: {
                    discardPopup.close()
                    page.notChangeDestroy()
                }
            }
        }
    }

    PopupFrame {
        id: catvchange
        objectName: "catvchange"
        width: 400
        height: 220
        ButtonGroup { id: group1 }
        Column {
            spacing: 8
            Text {
                text: "CATV放送規格　一括変更"
                font.pixelSize: page.fontsize + 2
                font.bold: true
                font.family: page.fontName
                color: page.headerColor
            }
            ComboBox {
                id: catvStandard
                objectName: "detailsBroadbandBox"
                width: 140
                model: ["ISDBC", "ISDBT"]
                font.family: page.fontName
            }
            Row {
                spacing: 12
                RadioButton {
                    id: allCatv
                    objectName: "allCatv"
                    text: "全てのチャンネル"
                    checked: true
                    ButtonGroup.group: group1
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                }
                RadioButton {
                    id: checkOnlyCatv
                    objectName: "checkOnlyCatv"
                    text: "選択したチャンネルのみ"
                    ButtonGroup.group: group1
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                }
            }
            Text {
                text: "一括変更しますか？"
                font.pixelSize: page.fontsize
                font.family: page.fontName
            }
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            spacing: 24
            Button {
                objectName: "catvYesButton"
                text: qsTr("はい")
                font.family: page.fontName
                onClicked: {
                    page.detailChange("", "", "catvchange", catvStandard.currentText, "",
                                      checkOnlyCatv.checked ? 1 : 0, "", "", "")
                    catvchange.close()
                }
            }
            Button {
                objectName: "catvNoButton"
                text: qsTr("いいえ")
                font.family: page.fontName
                onClicked: catvchange.close()
            }
        }
    }

    PopupFrame {
        id: alertPopup
        objectName: "alertPopup"
        width: 470
        height: 300
        ButtonGroup { id: group2 }

        component Entry: Row {
            id: entry
            property alias label: entryLabel.text
            property alias mark: entryMark.text
            property alias field: entryField
            property var pattern: /[0-9.]+/
            spacing: 4
            Text {
                id: entryLabel
                width: 70
                anchors.verticalCenter: parent.verticalCenter
                font.pixelSize: page.fontsize
                font.family: page.fontName
            }
            Text {
                id: entryMark
                text: "<"
                width: 12
                anchors.verticalCenter: parent.verticalCenter
                font.pixelSize: page.fontsize
                font.family: page.fontName
                color: page.headerColor
            }
            TextField {
                id: entryField
                width: 90
                height: 30
                font.pixelSize: page.fontsize
                font.family: page.fontName
                selectByMouse: true
                validator: RegularExpressionValidator { regularExpression: entry.pattern }
            }
        }

        Column {
            spacing: 4
            Text {
                text: "アラート設定　一括変更"
                font.pixelSize: page.fontsize + 2
                font.bold: true
                font.family: page.fontName
                color: page.headerColor
            }
            Row {
                spacing: 10
                Entry {
                    label: "LEVEL"
                    field.objectName: "levelMinText"
                    field.text: "50.0"
                    field.maximumLength: 5
                    id: levelMinEntry
                }
                Entry {
                    label: ""
                    field.objectName: "levelMaxText"
                    field.text: "90.0"
                    field.maximumLength: 5
                    id: levelMaxEntry
                }
            }
            Row {
                spacing: 10
                Entry {
                    label: "MER"
                    field.objectName: "merText"
                    field.text: "20.0"
                    field.maximumLength: 4
                    id: merEntry
                }
                Entry {
                    label: "CN"
                    field.objectName: "cnrText"
                    field.text: "20.0"
                    field.maximumLength: 4
                    id: cnrEntry
                }
            }
            Entry {
                label: "BER"
                mark: ">"
                field.objectName: "berText"
                field.inputMask: "0.0E-0"
                pattern: /.*/
                field.text: "2.0E-4"
                id: berEntry
            }
            Row {
                spacing: 10
                Entry {
                    label: "光レベル"
                    field.objectName: "detailsHikariLevelmin"
                    field.text: "-10.0"
                    field.maximumLength: 5
                    pattern: /[-0-9.]+/
                    id: hikariMinEntry
                }
                Entry {
                    label: ""
                    field.objectName: "detailsHikariLevelmax"
                    field.text: "0.0"
                    field.maximumLength: 5
                    pattern: /[-0-9.]+/
                    id: hikariMaxEntry
                }
            }
            Row {
                spacing: 12
                RadioButton {
                    id: alertall
                    objectName: "alertall"
                    text: "全てのチャンネル"
                    checked: true
                    ButtonGroup.group: group2
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                }
                RadioButton {
                    id: alertcheck
                    objectName: "alertcheck"
                    text: "選択したチャンネルのみ"
                    ButtonGroup.group: group2
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                }
            }
            Text {
                text: "一括変更しますか？"
                font.pixelSize: page.fontsize
                font.family: page.fontName
            }
        }


        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            spacing: 24
            Button {
                objectName: "alertYesButton"
                text: qsTr("はい")
                font.family: page.fontName
                onClicked: {
                    page.detailChange(levelMinEntry.field.text, levelMaxEntry.field.text,
                                      merEntry.field.text, berEntry.field.text, "alertPopup",
                                      alertcheck.checked ? 1 : 0, hikariMinEntry.field.text,
                                      hikariMaxEntry.field.text, cnrEntry.field.text)
                    alertPopup.close()
                }
            }
            Button {
                objectName: "alertNoButton"
                text: qsTr("いいえ")
                font.family: page.fontName
                onClicked: alertPopup.close()
            }
        }
    }
}
