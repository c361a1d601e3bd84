import QtQuick 2.15
import QtQuick.Controls 2.15
import "./parts"

// The channel setting page: one group of bands at a time as columns of channel tick boxes,
// the frequency fields of the free bands, the CATV plan switches, the MER/CN switch, the
// summary of the ticked channels and the copy of another device's plan. It talks to its view
// model only through the signals, functions and properties below; the view model decides
// every tick.
// An Item rather than a Page: a Page names its content item after the file's type, which
// would be found before the page by its object name.
Item {
    id: page
    objectName: "ChannelSetting"
    property string title: qsTr("チャンネル設定")

    // Written by the view model.
    property int channelNumber: 0
    property var chName1: []
    property var chName2: []
    property var chName3: []
    property var chName4: []
    property var hertz1: []
    property var hertz2: []
    property var countTrue1: []
    property var countTrue2: []
    property var countTrue3: []
    property var countTrue4: []
    property bool allcheckState1: false
    property bool allcheckState2: false
    property bool allcheckState3: false
    property bool allcheckState4: false
    property var bandInfo: []
    property var checkbutton: []
    property int countCheck: 0
    property int maxCheckNum: 100
    property bool shb: false
    property bool vhf: false
    property string popupmsg: ""
    property var filename: []
    property string currentfile: ""
    property real scaling: 1

    // The page's own.
    property int bandSelect: 0
    property int localfreqFlag: 1
    property bool setting2: false
    property bool setting4: false
    property bool resetFlag: true
    property bool saveFlag: true
    property string helzDescription: ""
    property int shownPopup: 0
    property string fontName: "MS ゴシック"
    property int fontsize: 13
    property string headerColor: "#35506e"
    property string textColor: "black"
    property string panelColor: "white"
    property string lineColor: "#b8c4d2"

    signal bandChange(int bandSelect)
    signal channelSignal(int bandSelect, string chName, bool checkInfo)
    signal allCheckInfo(int bandSelect, bool allCheckFlag)
    signal broadbandChange(int bandSelect, int localfreqFlag)
    signal catvSetting2(bool setting2)
    signal catvSetting4(bool setting4)
    signal convertMerCnr(int bandSelect, string textmessage)
    signal frequencyChange(int bandSelect, string ch, string freq)
    signal resetSignal(bool resetFlag)
    signal saveSignal(bool saveFlag)
    signal changeDestroy()
    signal notChangeDestroy()
    signal channelFileSelect(int bandinfo, string currentText)
    signal returnSignal()

    // The group buttons: text and the number bandChange carries.
    readonly property var groups: [
        {text: "地デジ", number: 0},
        {text: "BS/CS", number: 1},
        {text: "CATV", number: 5},
        {text: "スカパー！プレ\nミアムサービス光", number: 6},
        {text: "CATV上り", number: 7},
        {text: "JCSAT-3A/4B", number: 8},
        {text: "SCC-B/C", number: 12},
        {text: "LTE/FM", number: 16},
        {text: "PILOT", number: 18}
    ]

    // Columns of a group: the band, the two title lines and how the rows look ("grid": tick
    // boxes with their frequency, "list": tick boxes only, "field": with a frequency field).
    function columnsOf(group) {
        switch (group) {
        case 0: return [{band: 0, title: "地デジ", sub: "", kind: "grid"}]
        case 1: return [{band: 1, title: "BS", sub: "右旋", kind: "list"}, {band: 2, title: "BS", sub: "左旋", kind: "list"},
                        {band: 3, title: "CS", sub: "右旋", kind: "list"}, {band: 4, title: "CS", sub: "左旋", kind: "list"}]
        case 5: return [{band: 5, title: "CATV", sub: "", kind: "grid"}]
        case 6: return [{band: 6, title: "スカパー！光", sub: "", kind: "grid"}]
        case 7: return [{band: 7, title: "CATV上り", sub: "", kind: "field"}]
        case 8: return [{band: 8, title: "JCSAT-3A", sub: "水平", kind: "list"}, {band: 9, title: "JCSAT-3A", sub: "垂直", kind: "list"},
                        {band: 10, title: "JCSAT-4B", sub: "水平", kind: "list"}, {band: 11, title: "JCSAT-4B", sub: "垂直", kind: "list"}]
        case 12: return [{band: 12, title: "SCC-B", sub: "水平", kind: "list"}, {band: 13, title: "SCC-B", sub: "垂直", kind: "list"},
                         {band: 14, title: "SCC-C", sub: "水平", kind: "list"}, {band: 15, title: "SCC-C", sub: "垂直", kind: "list"}]
        case 16: return [{band: 16, title: "LTE", sub: "", kind: "list"}, {band: 17, title: "FM", sub: "", kind: "field"}]
        case 18: return [{band: 18, title: "PILOT", sub: "", kind: "field"}]
        default: return []
        }
    }

    // A list written by the view model, or an empty one for anything else (bandInfo is
    // briefly the number 0 while the screen opens).
    function listOf(value) {
        return value !== undefined && value !== null && value.length !== undefined ? value : []
    }

    function namesOf(column) {
        return column === 0 ? chName1 : column === 1 ? chName2 : column === 2 ? chName3 : chName4
    }
    function checksOf(column) {
        return column === 0 ? countTrue1 : column === 1 ? countTrue2 : column === 2 ? countTrue3 : countTrue4
    }
    function allStateOf(column) {
        return column === 0 ? allcheckState1 : column === 1 ? allcheckState2 : column === 2 ? allcheckState3 : allcheckState4
    }
    // Frequencies: the single column of a group, and the FM column of LTE/FM.
    function hertzOf(column) {
        return bandSelect === 16 ? (column === 1 ? hertz2 : []) : (column === 0 ? hertz1 : [])
    }

    function rangeText(band) {
        switch (band) {
        case 7: return "周波数の入力範囲\n10.00 - 60.00 [MHz]  0.05 MHzステップ"
        case 16: return "周波数の入力範囲\n70.0 - 95.0 [MHz]  0.1 MHzステップ"
        case 18: return "周波数の入力範囲\n70.00 - 996.00 [MHz]  0.25 MHzステップ"
        default: return ""
        }
    }

    function popupText(number) {
        switch (number) {
        case 1: return popupmsg + "の\n周波数が重複しています。"
        case 2: return "周波数は0.05ずつ変更してください。"
        case 3: return "周波数は0.25ずつ変更してください。"
        case 4: return maxCheckNum + "ch以上は登録できません。"
        case 5: return "数値が測定範囲外です。\n設定しなおしてください。"
        case 6: return "CATV上りの周波数が不正です。"
        case 7: return "FMの周波数が不正です。"
        case 8: return "PILOTの周波数が不正です。"
        case 10: return "チャンネル設定ファイルを保存できませんでした。\n次へ進めません。"
        case 11: return "チャンネルの一覧がありません。\n次へ進めません。"
        default: return ""
        }
    }

    function onOpenPopup(popupNumber) {
        var number = Number(popupNumber)
        if (number === 9) {
            discardPopup.open()
            return
        }
        shownPopup = number
        messagePopup.open()
    }

    function transit(screen) {
        console.log("window.transit -> " + screen)
        if (ApplicationWindow.window && ApplicationWindow.window.transit)
            ApplicationWindow.window.transit(screen)
    }

    function chooseGroup(number) {
        bandSelect = number
        helzDescription = rangeText(number)
        bandChange(number)
    }

    // A typed frequency the page itself rejects: not a decimal number.
    function sendFrequency(band, channel, text) {
        if (!/^[0-9]+(\.[0-9]+)?$/.test(text)) {
            onOpenPopup(band === 7 ? 6 : band === 17 ? 7 : 8)
            return
        }
        frequencyChange(band, channel, text)
    }

    onShbChanged: (shb ? shb2 : shb1).checked = true
    onVhfChanged: (vhf ? vhf4 : vhf3).checked = true

    // The page asks for its first group once its view model is connected.
    Component.onCompleted: Qt.callLater(function() { page.bandChange(page.bandSelect) })

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
        ScrollBar.vertical: ScrollBar { policy: page.scaling > 1 ? ScrollBar.AsNeeded : ScrollBar.AlwaysOff }

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
                text: qsTr("測定チャンネル設定　チャンネルマッピング")
                font.pixelSize: 17
                font.bold: true
                font.family: page.fontName
                color: page.headerColor
            }

            Text {
                objectName: "currentFileText"
                x: 560
                y: 8
                width: 442
                horizontalAlignment: Text.AlignRight
                elide: Text.ElideMiddle
                text: page.currentfile
                font.pixelSize: 14
                font.family: page.fontName
                color: page.textColor
            }

            // Group buttons.
            Column {
                id: groupColumn
                x: 12
                y: 38
                width: 140
                spacing: 1

                Text {
                    text: "チャンネル選択"
                    font.pixelSize: 14
                    font.bold: true
                    font.family: page.fontName
                    color: page.headerColor
                    bottomPadding: 4
                }

                ButtonGroup { id: groupButtons }

                Repeater {
                    model: page.groups
                    ChoiceRadio {
                        objectName: "groupButton" + modelData.number
                        width: 140
                        text: modelData.text
                        fontName: page.fontName
                        fontSize: 14
                        checked: modelData.number === 0
                        ButtonGroup.group: groupButtons
                        onClicked: page.chooseGroup(modelData.number)
                    }
                }
            }

            // The columns of the chosen group with the group's own controls above them.
            Rectangle {
                id: columnPanel
                x: 160
                y: 36
                width: 400
                height: 360
                color: page.panelColor
                border.color: page.lineColor

                Column {
                    id: controlStrip
                    x: 8
                    y: 6
                    width: parent.width - 16
                    spacing: 2

                    Text {
                        visible: page.bandSelect === 5
                        text: "CATVチャンネル周波数"
                        font.pixelSize: page.fontsize
                        font.bold: true
                        font.family: page.fontName
                        color: page.headerColor
                    }

                    Row {
                        visible: page.bandSelect === 5
                        spacing: 4
                        ButtonGroup { id: shbGroup }
                        ButtonGroup { id: vhfGroup }
                        Text { text: "SHB"; width: 34; anchors.verticalCenter: parent.verticalCenter; font.pixelSize: page.fontsize; font.family: page.fontName; color: page.textColor }
                        ChoiceRadio {
                            id: shb1
                            objectName: "shbSetting1"
                            text: "設定1"
                            fontName: page.fontName
                            checked: true
                            ButtonGroup.group: shbGroup
                            onClicked: { page.setting2 = false; page.catvSetting2(false); page.bandChange(5) }
                        }
                        ChoiceRadio {
                            id: shb2
                            objectName: "shbSetting2"
                            text: "設定2"
                            fontName: page.fontName
                            ButtonGroup.group: shbGroup
                            onClicked: { page.setting2 = true; page.catvSetting2(true); page.bandChange(5) }
                        }
                        Item { width: 14; height: 1 }
                        Text { text: "VHF"; width: 34; anchors.verticalCenter: parent.verticalCenter; font.pixelSize: page.fontsize; font.family: page.fontName; color: page.textColor }
                        ChoiceRadio {
                            id: vhf3
                            objectName: "vhfSetting3"
                            text: "設定3"
                            fontName: page.fontName
                            checked: true
                            ButtonGroup.group: vhfGroup
                            onClicked: { page.setting4 = false; page.catvSetting4(false); page.bandChange(5) }
                        }
                        ChoiceRadio {
                            id: vhf4
                            objectName: "vhfSetting4"
                            text: "設定4"
                            fontName: page.fontName
                            ButtonGroup.group: vhfGroup
                            onClicked: { page.setting4 = true; page.catvSetting4(true); page.bandChange(5) }
                        }
                    }

                    Row {
                        visible: page.bandSelect === 0 || page.bandSelect === 5
                        spacing: 8
                        ButtonGroup { id: merCnGroup }
                        Text {
                            text: "MER/CN切り替え"
                            anchors.verticalCenter: parent.verticalCenter
                            font.pixelSize: page.fontsize
                            font.bold: true
                            font.family: page.fontName
                            color: page.headerColor
                        }
                        ChoiceRadio {
                            objectName: "radioButton5"
                            text: "MER"
                            fontName: page.fontName
                            ButtonGroup.group: merCnGroup
                            onClicked: page.convertMerCnr(page.bandSelect, text)
                        }
                        ChoiceRadio {
                            objectName: "radioButton6"
                            text: "換算CN"
                            fontName: page.fontName
                            ButtonGroup.group: merCnGroup
                            onClicked: page.convertMerCnr(page.bandSelect, text)
                        }
                    }

                    Text {
                        objectName: "rangeText"
                        visible: page.helzDescription !== ""
                        text: page.helzDescription
                        font.pixelSize: page.fontsize - 1
                        font.family: page.fontName
                        color: page.textColor
                    }
                }

                Row {
                    id: columnRow
                    x: 6
                    anchors.top: controlStrip.bottom
                    anchors.topMargin: controlStrip.height > 0 ? 6 : 0
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 4
                    spacing: 0

                    Repeater {
                        model: page.columnsOf(page.bandSelect)

                        Item {
                            id: column
                            readonly property int columnIndex: index
                            readonly property int band: modelData.band
                            readonly property string kind: modelData.kind
                            readonly property var names: page.namesOf(index)
                            readonly property var checks: page.checksOf(index)
                            readonly property var hertz: page.hertzOf(index)
                            width: kind === "grid" ? 388 : kind === "field" ? (page.bandSelect === 16 ? 250 : 300) : (page.bandSelect === 16 ? 130 : 97)
                            height: columnRow.height

                            Rectangle {
                                id: columnHead
                                width: parent.width - 4
                                height: modelData.sub === "" ? 24 : 40
                                color: "#dde5ee"
                                Column {
                                    x: 4
                                    y: 2
                                    Text {
                                        text: modelData.title
                                        font.pixelSize: page.fontsize
                                        font.bold: true
                                        font.family: page.fontName
                                        color: page.headerColor
                                    }
                                    Row {
                                        spacing: 4
                                        Text {
                                            visible: modelData.sub !== ""
                                            text: modelData.sub
                                            font.pixelSize: page.fontsize
                                            font.family: page.fontName
                                            color: page.headerColor
                                        }
                                    }
                                }
                                Row {
                                    anchors.right: parent.right
                                    anchors.rightMargin: 4
                                    anchors.bottom: parent.bottom
                                    anchors.bottomMargin: 4
                                    spacing: 3
                                    TickBox {
                                        objectName: "allCheck" + column.band
                                        anchors.verticalCenter: parent.verticalCenter
                                        checked: page.allStateOf(column.columnIndex)
                                        onToggleRequested: page.allCheckInfo(column.band, newState)
                                    }
                                    Text {
                                        anchors.verticalCenter: parent.verticalCenter
                                        text: page.columnsOf(page.bandSelect).length > 1 && column.kind === "list" && page.bandSelect !== 16 ? "列選択" : "全選択"
                                        font.pixelSize: page.fontsize - 1
                                        font.family: page.fontName
                                        color: page.textColor
                                    }
                                }
                            }

                            // Tick boxes with their frequency, flowing over three columns.
                            GridView {
                                id: channelGrid
                                objectName: "channelGrid" + column.band
                                visible: column.kind === "grid"
                                anchors.top: columnHead.bottom
                                anchors.topMargin: 4
                                anchors.bottom: parent.bottom
                                width: parent.width
                                clip: true
                                cellWidth: 128
                                cellHeight: 22
                                boundsBehavior: Flickable.StopAtBounds
                                model: column.kind === "grid" ? column.names : []
                                ScrollBar.vertical: ScrollBar { policy: channelGrid.contentHeight > channelGrid.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff }
                                delegate: Row {
                                    spacing: 4
                                    height: 22
                                    TickBox {
                                        objectName: "tick_" + column.band + "_" + modelData
                                        anchors.verticalCenter: parent.verticalCenter
                                        checked: column.checks[index] === true
                                        onToggleRequested: page.channelSignal(column.band, modelData, newState)
                                    }
                                    Text {
                                        width: 34
                                        anchors.verticalCenter: parent.verticalCenter
                                        text: modelData
                                        font.pixelSize: page.fontsize
                                        font.family: page.fontName
                                        color: page.textColor
                                    }
                                    Text {
                                        anchors.verticalCenter: parent.verticalCenter
                                        text: column.hertz[index] !== undefined ? column.hertz[index] : ""
                                        font.pixelSize: page.fontsize - 1
                                        font.family: page.fontName
                                        color: "#4a5a6c"
                                    }
                                }
                            }

                            // Tick boxes only, or with a frequency field.
                            ListView {
                                id: channelList
                                objectName: "channelList" + column.band
                                visible: column.kind !== "grid"
                                anchors.top: columnHead.bottom
                                anchors.topMargin: 4
                                anchors.bottom: parent.bottom
                                width: parent.width
                                clip: true
                                boundsBehavior: Flickable.StopAtBounds
                                model: column.kind !== "grid" ? column.names : []
                                ScrollBar.vertical: ScrollBar { policy: channelList.contentHeight > channelList.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff }
                                delegate: Row {
                                    spacing: 4
                                    height: column.kind === "field" ? 26 : 21
                                    TickBox {
                                        objectName: "tick_" + column.band + "_" + modelData
                                        anchors.verticalCenter: parent.verticalCenter
                                        checked: column.checks[index] === true
                                        onToggleRequested: page.channelSignal(column.band, modelData, newState)
                                    }
                                    Text {
                                        width: column.kind === "field" ? 62 : 70
                                        anchors.verticalCenter: parent.verticalCenter
                                        text: modelData
                                        font.pixelSize: page.fontsize
                                        font.family: page.fontName
                                        color: page.textColor
                                    }
                                    TextField {
                                        id: frequencyField
                                        objectName: "frequency_" + column.band + "_" + modelData
                                        visible: column.kind === "field"
                                        property string shownText: column.hertz[index] !== undefined ? column.hertz[index] : ""
                                        anchors.verticalCenter: parent.verticalCenter
                                        width: 74
                                        height: 22
                                        padding: 2
                                        leftPadding: 4
                                        text: shownText
                                        maximumLength: column.band === 17 ? 4 : 32767
                                        validator: RegularExpressionValidator { regularExpression: /[0-9.]+/ }
                                        font.pixelSize: page.fontsize
                                        font.family: page.fontName
                                        background: Rectangle { color: "white"; border.color: frequencyField.activeFocus ? page.headerColor : page.lineColor }
                                        onEditingFinished: {
                                            if (text === shownText)
                                                return
                                            shownText = text
                                            page.sendFrequency(column.band, modelData, text)
                                        }
                                    }
                                    Text {
                                        visible: column.kind === "field"
                                        anchors.verticalCenter: parent.verticalCenter
                                        text: "[MHz]"
                                        font.pixelSize: page.fontsize - 1
                                        font.family: page.fontName
                                        color: page.textColor
                                    }
                                }
                            }
                        }
                    }
                }
            }

            // Summary of the ticked channels.
            Rectangle {
                id: summaryPanel
                x: 566
                y: 36
                width: 436
                height: 290
                color: page.panelColor
                border.color: page.lineColor

                Text {
                    id: summaryHead
                    objectName: "summaryHead"
                    x: 6
                    y: 5
                    text: "選択中チャンネル　　　　　　　　　　　　　　　　　　チェック数: " + page.countCheck + "/" + page.maxCheckNum
                    font.pixelSize: 12
                    font.family: page.fontName
                    color: page.headerColor
                }

                ListView {
                    id: summaryList
                    objectName: "summaryList"
                    x: 6
                    anchors.top: summaryHead.bottom
                    anchors.topMargin: 4
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 4
                    width: parent.width - 12
                    clip: true
                    boundsBehavior: Flickable.StopAtBounds
                    model: page.listOf(page.checkbutton)
                    ScrollBar.vertical: ScrollBar { policy: summaryList.contentHeight > summaryList.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff }
                    delegate: Rectangle {
                        width: summaryList.width - 10
                        height: 20
                        color: index % 2 === 0 ? "#f4f7fa" : "white"
                        Row {
                            anchors.verticalCenter: parent.verticalCenter
                            x: 4
                            spacing: 8
                            Text {
                                width: 28
                                horizontalAlignment: Text.AlignRight
                                text: index + 1
                                font.pixelSize: page.fontsize - 1
                                font.family: page.fontName
                                color: "#4a5a6c"
                            }
                            Text {
                                width: 110
                                text: page.listOf(page.bandInfo)[index] !== undefined ? page.listOf(page.bandInfo)[index] : ""
                                font.pixelSize: page.fontsize
                                font.family: page.fontName
                                color: page.textColor
                            }
                            Text {
                                text: modelData
                                font.pixelSize: page.fontsize
                                font.family: page.fontName
                                color: page.textColor
                            }
                        }
                    }
                }
            }

            // Copy of another device's plan.
            Rectangle {
                x: 566
                y: 332
                width: 436
                height: 64
                color: page.panelColor
                border.color: page.lineColor

                Text {
                    x: 6
                    y: 5
                    text: "他機器のチャンネル設定ファイル読み込み"
                    font.pixelSize: page.fontsize
                    font.bold: true
                    font.family: page.fontName
                    color: page.headerColor
                }
                ComboBox {
                    id: fileCombo
                    objectName: "fileCombo"
                    x: 6
                    y: 26
                    width: 300
                    height: 30
                    model: page.filename
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                }
                Button {
                    objectName: "fileSelectButton"
                    x: 316
                    y: 26
                    width: 110
                    height: 30
                    text: "選択実行"
                    font.pixelSize: page.fontsize
                    font.family: page.fontName
                    onClicked: page.channelFileSelect(page.bandSelect, fileCombo.currentText)
                }
            }

            Row {
                x: 160
                y: 402
                spacing: 12
                Button {
                    objectName: "returnButton"
                    width: 110
                    height: 32
                    text: qsTr("戻る")
                    font.pixelSize: 14
                    font.family: page.fontName
                    onClicked: page.returnSignal()
                }
                Button {
                    objectName: "resetButton"
                    width: 130
                    height: 32
                    text: qsTr("全選択クリア")
                    font.pixelSize: 14
                    font.family: page.fontName
                    onClicked: resetPopup.open()
                }
            }

            Button {
                objectName: "nextButton"
                x: 892
                y: 402
                width: 110
                height: 32
                text: qsTr("次へ")
                font.pixelSize: 14
                font.bold: true
                font.family: page.fontName
                onClicked: page.saveSignal(page.saveFlag)
            }
        }
    }

    Popup {
        id: messagePopup
        objectName: "messagePopup"
        modal: true
        width: 300
        height: 150
        x: (page.width - width) / 2
        y: (page.height - height) / 2
        closePolicy: Popup.CloseOnEscape
        padding: 0
        background: Image { source: "qrc:/resource/image/popupBk_45.png" }

        Text {
            objectName: "messagePopupText"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 16
            anchors.topMargin: 26
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: page.popupText(page.shownPopup)
            font.pixelSize: 14
            font.family: page.fontName
            color: page.textColor
        }

        Button {
            objectName: "messageOkButton"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 16
            width: 90
            height: 30
            text: "OK"
            font.pixelSize: 14
            font.family: page.fontName
            onClicked: messagePopup.close()
        }
    }

    Popup {
        id: discardPopup
        objectName: "discardPopup"
        modal: true
        width: 300
        height: 150
        x: (page.width - width) / 2
        y: (page.height - height) / 2
        closePolicy: Popup.NoAutoClose
        padding: 0
        background: Image { source: "qrc:/resource/image/popupBk_45.png" }

        Text {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 16
            anchors.topMargin: 34
            horizontalAlignment: Text.AlignHCenter
            text: "変更を破棄しますか？"
            font.pixelSize: 14
            font.family: page.fontName
            color: page.textColor
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 16
            spacing: 24
            Button {
                objectName: "discardYesButton"
                width: 90
                height: 30
                text: "はい"
                font.pixelSize: 14
                font.family: page.fontName
                onClicked: { discardPopup.close(); page.changeDestroy() }
            }
            Button {
                objectName: "discardNoButton"
                width: 90
                height: 30
                text: "いいえ"
                font.pixelSize: 14
                font.family: page.fontName
                onClicked: { discardPopup.close(); page.notChangeDestroy() }
            }
        }
    }

    Popup {
        id: resetPopup
        objectName: "resetPopup"
        modal: true
        width: 300
        height: 150
        x: (page.width - width) / 2
        y: (page.height - height) / 2
        closePolicy: Popup.CloseOnEscape
        padding: 0
        background: Image { source: "qrc:/resource/image/popupBk_45.png" }

        Text {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 16
            anchors.topMargin: 34
            horizontalAlignment: Text.AlignHCenter
            text: "リセットしますか？"
            font.pixelSize: 14
            font.family: page.fontName
            color: page.textColor
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 16
            spacing: 24
            Button {
                objectName: "resetYesButton"
                width: 90
                height: 30
                text: "はい"
                font.pixelSize: 14
                font.family: page.fontName
                onClicked: { resetPopup.close(); page.resetSignal(page.resetFlag) }
            }
            Button {
                objectName: "resetNoButton"
                width: 90
                height: 30
                text: "いいえ"
                font.pixelSize: 14
                font.family: page.fontName
                onClicked: resetPopup.close()
            }
        }
    }
}
