import QtQuick 2.15
import QtQuick.Window 2.15
import QtQuick.Controls 2.15
import velmora.levelchecker.measureResultModel 1.0
import velmora.levelchecker.statusErrorModel 1.0
import velmora.levelchecker.deviceSettingModel 1.0
import velmora.levelchecker.channelDetailsModel 1.0
import velmora.levelchecker.individualResultsModel 1.0
import velmora.levelchecker.individualResultListModel 1.0
import velmora.levelchecker.informationListModel 1.0
import "parts"

ApplicationWindow {
    id: window
    objectName: "MainFrame"
    width: 1010
    height: 504
    visible: false
    title: qsTr("NRT52")
    color: "#1d2733"

    property string defaultFontName: "MS ゴシック"
    property int frameSize: 22
    property string textColor: "black"
    property string beforeDialog: ""
    property bool homePress: false
    property bool helpPress: false
    property real scaling: 100
    property bool appPlayNg: false
    property bool bBoot: false
    property bool startPagesMade: false
    property bool bootDue: false
    property string message: qsTr("Home")
    property int screenWidth: width
    property int screenHeight: height - buttonColumn.height

    signal open(string screenName)
    signal close(string signalName)
    signal buttonClicked(string button)
    signal homeButtonCliecked()
    signal scaleButtonClicked(real scale)

    // The page on top of the stack; the home page at the bottom stays for the whole run.
    function popTop() {
        if (stackView.depth <= 1)
            return
        var page = stackView.currentItem
        stackView.pop(StackView.Immediate)
        // Destruction is deferred: a page on its way out must not be found by its name.
        page.objectName = ""
        page.destroy()
    }

    function pushNew(screen) {
        if (screen === "Home.qml")
            return
        var component = Qt.createComponent(screen)
        if (component.status !== Component.Ready) {
            console.warn(component.errorString())
            return
        }
        var page = component.createObject(stackView)
        stackView.push(page, {}, StackView.Immediate)
    }

    // As pushScreenOnly, with the page made a slice at a time between other events: the
    // first making of a page (fonts, styles, fifty table rows) held the window for a quarter
    // of a second. then() runs once the page is on top (or could not be made).
    function pushScreenOnlyLater(screen, then) {
        var component = Qt.createComponent(screen, Component.Asynchronous)
        var started = false
        function place(page) {
            popTop()
            if (page)
                stackView.push(page, {}, StackView.Immediate)
            then()
        }
        function incubate() {
            if (started || component.status === Component.Loading)
                return
            started = true
            if (component.status !== Component.Ready) {
                console.warn(component.errorString())
                place(null)
                return
            }
            var incubator = component.incubateObject(stackView, {}, Qt.Asynchronous)
            if (incubator.status !== Component.Loading) {
                place(incubator.object)
                return
            }
            incubator.onStatusChanged = function(status) {
                if (status === Component.Error)
                    console.warn("a page could not be made: " + screen)
                if (status !== Component.Loading)
                    place(status === Component.Ready ? incubator.object : null)
            }
        }
        component.statusChanged.connect(incubate)
        incubate()
    }

    function pushScreen(screen) {
        close(stackView.currentItem.objectName)
        popTop()
        pushNew(screen)
        open(stackView.currentItem.objectName)
    }

    function pushScreenOnly(screen) {
        popTop()
        pushNew(screen)
    }

    function popScreen() {
        close(stackView.currentItem.objectName)
        popTop()
    }

    function transit(screen) {
        switch (screen) {
        case "Home.qml":
            beforeDialog = "Home.qml"
            // Leaves no screen button checked, so the next visit of that screen switches.
            homeButton.checked = true
            pushScreen("Home.qml")
            break
        case "MeasurementResult.qml":
            measurementResultButton.checked = true
            break
        case "DeviceSetting.qml":
            deviceSettingButton.checked = true
            break
        case "ChannelSetting.qml":
            channelSettingButton.checked = true
            break
        case "ChannelDetails.qml":
            channelDetailsButton.checked = true
            break
        case "MeasurementResultIndividual.qml":
            resultIndividualButton.checked = true
            break
        case "SystemSetting.qml":
            systemSettingButton.checked = true
            break
        default:
            break
        }
    }

    function showScreen(screen) {
        beforeDialog = screen
        pushScreen(screen)
    }

    function onChangeHomeDialog() {
        homeButton.checked = true
        beforeDialog = "Home.qml"
        pushScreen("Home.qml")
    }

    function zoomOut() {
        if (scaling > 50)
            scaling = scaling - 10
        scaleButtonClicked(scaling)
    }

    function zoomIn() {
        if (scaling < 400)
            scaling = scaling + 10
        scaleButtonClicked(scaling)
    }

    function homeClicked() {
        if (beforeDialog === "DeviceSetting.qml" || beforeDialog === "ChannelSetting.qml"
                || beforeDialog === "ChannelDetails.qml" || beforeDialog === "SystemSetting.qml") {
            homeButton.checked = false
            homeButtonCliecked()
        } else {
            beforeDialog = "Home.qml"
            pushScreen("Home.qml")
        }
    }

    function answerQuit(yes) {
        messagePopup.close()
        if (yes) {
            buttonClicked("closewindow")
            Qt.callLater(Qt.quit)
        }
    }

    onClosing: {
        if (!appPlayNg) {
            close.accepted = false
            messagePopup.open()
        } else {
            Qt.callLater(Qt.quit)
        }
    }

    // Until the start-up pages are through, the splash follows the main window.
    onXChanged: if (!bBoot) splash.x = x
    onYChanged: if (!bBoot) splash.y = y
    onWidthChanged: if (!bBoot) splash.width = width

    ButtonGroup { id: frameButtons; exclusive: true }

    Image {
        id: bg
        objectName: "bg"
        visible: false
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: buttonColumn.height
        source: "qrc:/resource/image/frame_80.png"
        fillMode: Image.Stretch
    }

    Item {
        id: buttonColumn
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: frameSize * 2

        Row {
            anchors.left: parent.left
            anchors.leftMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            spacing: 6
            visible: bg.visible

            AbstractButton {
                id: homeButton
                objectName: "homeButton"
                checkable: true
                checked: true
                ButtonGroup.group: frameButtons
                width: homeLook.width
                height: homeLook.height
                onPressed: homePress = true
                onReleased: homePress = false
                onCanceled: homePress = false
                onClicked: homeClicked()
                contentItem: ButtonTemplate {
                    id: homeLook
                    press: homePress
                    idlebg: "button_82.png"
                    activebg: "button_82.png"
                    pressbg: "button_81.png"
                    idleIcon: "icon_84.png"
                    pressIcon: "icon_49.png"
                    message: "HOME"
                    idleTextColor: "#ffffff"
                    activeTextColor: "#ffffff"
                    pressTextColor: "#a2c4ea"
                    fontSize: 15
                    defaultFontName: window.defaultFontName
                }
            }

            AbstractButton {
                id: helpButton
                objectName: "helpButton"
                ButtonGroup.group: frameButtons
                width: helpLook.width
                height: helpLook.height
                onPressed: helpPress = true
                onReleased: helpPress = false
                onCanceled: helpPress = false
                onClicked: buttonClicked("help")
                contentItem: ButtonTemplate {
                    id: helpLook
                    press: helpPress
                    idlebg: "button_82.png"
                    activebg: "button_82.png"
                    pressbg: "button_81.png"
                    idleIcon: "icon_83.png"
                    pressIcon: "icon_50.png"
                    message: "ヘルプ"
                    idleTextColor: "#ffffff"
                    activeTextColor: "#ffffff"
                    pressTextColor: "#a2c4ea"
                    fontSize: 15
                    defaultFontName: window.defaultFontName
                }
            }

            ScreenButton { id: measurementResultButton; objectName: "measurementResultButton"; text: "測定結果"; screen: "MeasurementResult.qml"; ButtonGroup.group: frameButtons; onScreenChecked: showScreen(screen) }
            ScreenButton { id: deviceSettingButton; objectName: "deviceSettingButton"; text: "機器設定"; screen: "DeviceSetting.qml"; ButtonGroup.group: frameButtons; onScreenChecked: showScreen(screen) }
            ScreenButton { id: channelSettingButton; objectName: "channelSettingButton"; text: "チャンネル設定"; screen: "ChannelSetting.qml"; ButtonGroup.group: frameButtons; onScreenChecked: showScreen(screen) }
            ScreenButton { id: channelDetailsButton; objectName: "channelDetailsButton"; text: "チャンネル詳細"; screen: "ChannelDetails.qml"; ButtonGroup.group: frameButtons; onScreenChecked: showScreen(screen) }
            ScreenButton { id: resultIndividualButton; objectName: "resultIndividualButton"; text: "個別一覧"; screen: "MeasurementResultIndividual.qml"; ButtonGroup.group: frameButtons; onScreenChecked: showScreen(screen) }
            ScreenButton { id: systemSettingButton; objectName: "systemSettingButton"; text: "システム設定"; screen: "SystemSetting.qml"; ButtonGroup.group: frameButtons; onScreenChecked: showScreen(screen) }
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            spacing: 8

            ButtonTemplate {
                id: scaleDownHomeButton
                objectName: "scaleDownHomeButton"
                visible: false
                anchors.verticalCenter: parent.verticalCenter
                idlebg: "button_134.png"
                activebg: "button_134.png"
                pressbg: "button_124.png"
                imageScalex: 0.28
                imageScaley: 0.28
                MouseArea {
                    anchors.fill: parent
                    onPressed: parent.press = true
                    onReleased: parent.press = false
                    onCanceled: parent.press = false
                    onClicked: zoomOut()
                }
            }

            Text {
                objectName: "scalingText"
                visible: scaleDownHomeButton.visible
                anchors.verticalCenter: parent.verticalCenter
                width: 52
                horizontalAlignment: Text.AlignHCenter
                text: scaling + "%"
                color: "white"
                font.pixelSize: 17
                font.family: defaultFontName
            }

            ButtonTemplate {
                id: scaleHomeButton
                objectName: "scaleHomeButton"
                visible: false
                anchors.verticalCenter: parent.verticalCenter
                idlebg: "button_133.png"
                activebg: "button_133.png"
                pressbg: "button_123.png"
                imageScalex: 0.28
                imageScaley: 0.28
                MouseArea {
                    anchors.fill: parent
                    onPressed: parent.press = true
                    onReleased: parent.press = false
                    onCanceled: parent.press = false
                    onClicked: zoomIn()
                }
            }
        }
    }

    StackView {
        id: stackView
        objectName: "stackView"
        visible: false
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: buttonColumn.bottom
        anchors.bottom: parent.bottom
        initialItem: homePage

        Home { id: homePage; objectName: "Home" }

        MeasureResultModel { id: measureResultModel; objectName: "measureResultModel" }
        StatusErrorModel { id: statusErrorModel; objectName: "statusErrorModel" }
        DeviceSettingModel { id: deviceSettingModel; objectName: "deviceSettingModel" }
        ChannelDetailsModel { id: channelDetailsModel; objectName: "channelDetailsModel" }
        IndividualResultsModel { id: individualResultsModel; objectName: "individualResultsModel" }
        IndividualResultListModel { id: individualResultListModel; objectName: "individualResultListModel" }
        InformationListModel { id: informationListModel; objectName: "informationListModel" }
    }

    Popup {
        id: messagePopup
        objectName: "messagePopup"
        modal: true
        width: 300
        height: 150
        x: (screenWidth - width) / 2
        y: buttonColumn.height + (screenHeight - height) / 2
        closePolicy: Popup.CloseOnEscape
        padding: 0
        background: Image { source: "qrc:/resource/image/popupBk_45.png" }

        Text {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 16
            anchors.topMargin: 30
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: "NRT52を閉じますか？"
            font.pixelSize: 14
            font.family: defaultFontName
            color: textColor
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 18
            spacing: 24

            ButtonTemplate {
                id: yesButton
                objectName: "quitYesButton"
                idlebg: "button_19.png"
                activebg: "button_19.png"
                pressbg: "button_37.png"
                message: "はい"
                idleTextColor: "white"
                activeTextColor: "white"
                pressTextColor: "#b7b7b7"
                fontSize: 14
                defaultFontName: window.defaultFontName
                MouseArea {
                    anchors.fill: parent
                    onPressed: parent.press = true
                    onReleased: parent.press = false
                    onCanceled: parent.press = false
                    onClicked: answerQuit(true)
                }
            }

            ButtonTemplate {
                id: noButton
                objectName: "quitNoButton"
                idlebg: "button_19.png"
                activebg: "button_19.png"
                pressbg: "button_37.png"
                message: "いいえ"
                idleTextColor: "white"
                activeTextColor: "white"
                pressTextColor: "#b7b7b7"
                fontSize: 14
                defaultFontName: window.defaultFontName
                MouseArea {
                    anchors.fill: parent
                    onPressed: parent.press = true
                    onReleased: parent.press = false
                    onCanceled: parent.press = false
                    onClicked: answerQuit(false)
                }
            }
        }
    }

    Window {
        id: splash
        objectName: "splash"
        width: 1010
        height: 454
        visible: true
        color: "#ffffff"
        flags: Qt.SplashScreen | Qt.WindowStaysOnTopHint

        Image {
            anchors.centerIn: parent
            source: "qrc:/resource/image/logo_127.png"
        }

        Timer {
            interval: 5000
            running: true
            onTriggered: splash.close()
        }
    }

    Timer {
        interval: 1000
        running: true
        onTriggered: window.visible = true
    }

    Timer {
        interval: 3000
        running: true
        // One page after the other, each made in slices.
        onTriggered: {
            pushScreenOnlyLater("MeasurementResult.qml", function() {
                pushScreenOnlyLater("DeviceSetting.qml", function() {
                    beforeDialog = "Home.qml"
                    pushScreen("Home.qml")
                    startPagesMade = true
                    if (bootDue)
                        finishBoot()
                })
            })
        }
    }

    Timer {
        interval: 4950
        running: true
        // On a slow machine the start-up pages may still be in the making: the screens are
        // shown (and the boot ends) only once the home screen is on top.
        onTriggered: {
            bootDue = true
            if (startPagesMade)
                finishBoot()
        }
    }

    function finishBoot() {
        bg.visible = true
        stackView.visible = true
        scaleDownHomeButton.visible = true
        scaleHomeButton.visible = true
        bBoot = true
    }
}
