import QtQuick 2.15
import QtQuick.Controls 2.15
import "./parts"

// The システム設定 page: the waits of the measurement in whole seconds, the one-channel
// monitoring mode and the reboot of one device. It talks to its view model only through
// the signals, the function and the properties below.
Item {
    id: page
    objectName: "SystemSetting"
    property string title: "システム設定"

    // Written by the view model.
    property real scaling: 1
    property var devicename: []

    // The page's own.
    property int popupNumber: 0
    property string messagePopupText: ""
    property int fontsize: 14
    property string fontName: "MS ゴシック"
    property string headerColor: "#35506e"
    readonly property var popupTexts: ["",
        "設定を変更しました。",
        "設定を反映できませんでした。",
        "変更を破棄しますか？",
        "チェッカーを再起動しますか？",
        "登録機器を選択してください。",
        "再起動に失敗しました。"]
    readonly property int popupDiscard: 3
    readonly property int popupRebootQuestion: 4
    readonly property int popupChooseDevice: 5

    signal settingButtonClicked()
    signal comboboxChange(string name, string text)
    signal changeDestroy()
    signal reboot(int index)

    function transit(screen) {
        if (ApplicationWindow.window && ApplicationWindow.window.transit)
            ApplicationWindow.window.transit(screen)
    }

    function onPopupOpen(number) {
        var n = Number(number)
        popupNumber = n
        messagePopupText = n > 0 && n < popupTexts.length ? popupTexts[n] : ""
        messagePopup.open()
    }

    function requestReboot() {
        var index = deviceSelect.currentIndex
        if (index < 0 || index >= devicename.length || devicename[index] === "")
            onPopupOpen(popupChooseDevice)
        else
            onPopupOpen(popupRebootQuestion)
    }

    function answerPopup(yes) {
        var n = popupNumber
        messagePopup.close()
        if (!yes)
            return
        if (n === popupDiscard)
            changeDestroy()
        else if (n === popupRebootQuestion)
            reboot(deviceSelect.currentIndex)
    }

    Rectangle {
        anchors.fill: parent
        color: "#eef2f7"
    }

    Item {
        id: content
        width: 1010
        height: 460
        scale: page.scaling
        transformOrigin: Item.TopLeft

        Text {
            x: 24
            y: 12
            text: page.title
            color: "#27364a"
            font.family: page.fontName
            font.pixelSize: 22
        }

        // 測定待機時間: the waits after a band change, after switching the power feed, and
        // per band group.
        Rectangle {
            id: waitSection
            x: 16
            y: 50
            width: 640
            height: 262
            color: "white"
            border.color: "#b8c4d2"
            radius: 4

            Text {
                x: 12
                y: 8
                text: "測定待機時間"
                font.family: page.fontName
                font.pixelSize: page.fontsize + 2
                font.bold: true
                color: page.headerColor
            }

            Column {
                x: 12
                y: 38
                SystemSettingSlider { objectName: "first"; object: "first"; label: "BAND切り換え時"; from: 1; to: 10; append: true; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "power"; object: "power"; label: "給電時　　　"; from: 1; to: 10; append: true; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "uhf"; object: "uhf"; label: "地デジ"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "bs"; object: "bs"; label: "BS"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "cs"; object: "cs"; label: "CS"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "catv"; object: "catv"; label: "CATV"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
            }
            Column {
                x: 322
                y: 38
                SystemSettingSlider { objectName: "sky"; object: "sky"; label: "スカパー！光"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "jcsat"; object: "jcsat"; label: "JCSAT"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "scc"; object: "scc"; label: "SCC"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "lte"; object: "lte"; label: "LTE"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "fm"; object: "fm"; label: "FM"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
                SystemSettingSlider { objectName: "pilot"; object: "pilot"; label: "PILOT"; from: 4; to: 10; fontName: page.fontName; onComboboxChange: page.comboboxChange(name, text) }
            }
        }

        Rectangle {
            id: monitoringSection
            x: 672
            y: 50
            width: 322
            height: 150
            color: "white"
            border.color: "#b8c4d2"
            radius: 4

            Text {
                x: 12
                y: 8
                text: "1ch監視モード"
                font.family: page.fontName
                font.pixelSize: page.fontsize + 2
                font.bold: true
                color: page.headerColor
            }
            SystemSettingSlider {
                objectName: "chMonitoring"
                x: 12
                y: 36
                object: "chMonitoring"
                label: "OFF"
                labelSize: 40
                sliderSize: 120
                from: 0
                to: 1
                onoff: true
                fontName: page.fontName
                onComboboxChange: page.comboboxChange(name, text)
            }
            Text {
                x: 12
                y: 78
                width: 298
                wrapMode: Text.Wrap
                text: "機器No1で測定チャンネルを1チャンネルのみ設定した場合に本モードをご使用いただけます。"
                font.family: page.fontName
                font.pixelSize: 12
                color: "#3d4b5c"
            }
        }

        Rectangle {
            id: rebootSection
            x: 672
            y: 212
            width: 322
            height: 100
            color: "white"
            border.color: "#b8c4d2"
            radius: 4

            Text {
                x: 12
                y: 8
                text: "再起動"
                font.family: page.fontName
                font.pixelSize: page.fontsize + 2
                font.bold: true
                color: page.headerColor
            }
            ComboBox {
                id: deviceSelect
                objectName: "deviceSelect"
                x: 12
                y: 44
                width: 206
                height: 36
                model: page.devicename
                // The operator chooses the device himself; a new list has none chosen.
                currentIndex: -1
                onModelChanged: currentIndex = -1
                displayText: currentIndex < 0 ? "機器を選択" : currentText
                font.family: page.fontName
                font.pixelSize: 13
            }
            Button {
                objectName: "rebootButton"
                x: 228
                y: 44
                width: 82
                height: 36
                text: "再起動"
                font.family: page.fontName
                font.pixelSize: page.fontsize
                onClicked: page.requestReboot()
            }
        }

        Button {
            objectName: "settingButton"
            x: 536
            y: 324
            width: 120
            height: 40
            text: "設定"
            font.family: page.fontName
            font.pixelSize: page.fontsize + 2
            onClicked: page.settingButtonClicked()
        }
    }

    // Messages and questions of the page, by number.
    Popup {
        id: messagePopup
        objectName: "messagePopup"
        modal: true
        width: 300
        height: 150
        x: (page.width - width) / 2
        y: (page.height - height) / 2
        closePolicy: Popup.NoAutoClose
        readonly property bool question: page.popupNumber === page.popupDiscard
                                         || page.popupNumber === page.popupRebootQuestion
        background: Rectangle { color: "white"; border.color: page.headerColor; radius: 4 }

        Text {
            objectName: "messagePopupText"
            x: 8
            y: 20
            width: parent.width - 16
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: page.messagePopupText
            font.pixelSize: page.fontsize
            font.family: page.fontName
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            spacing: 24
            Button {
                objectName: "popupYesButton"
                visible: messagePopup.question
                text: "はい"
                font.family: page.fontName
                onClicked: page.answerPopup(true)
            }
            Button {
                objectName: "popupNoButton"
                visible: messagePopup.question
                text: "いいえ"
                font.family: page.fontName
                onClicked: page.answerPopup(false)
            }
            Button {
                objectName: "popupOkButton"
                visible: !messagePopup.question
                text: "OK"
                font.family: page.fontName
                onClicked: page.answerPopup(false)
            }
        }
    }
}
