import QtQuick 2.15
import QtQuick.Controls 2.15
import "parts"

// The first page: the ways to the device settings, the result list and the system settings.
Item {
    id: home
    objectName: "Home"

    property real scaling: 1
    property string fontName: "MS ゴシック"

    signal buttonClicked(string button)
    signal windowClosed()

    function onPopupOpen() {
        lockPopup.open()
    }

    // Devices whose registration line could not be read stay stopped; the operator is told
    // once which ones.
    function onRegistrationDamaged(deviceNumbers) {
        damagedText.text = "DeviceRegistSetting.csvに読み込めない行があります。\n機器No." + deviceNumbers
                + " は停止したままです。"
        damagedPopup.open()
    }

    function transit(screen) {
        ApplicationWindow.window.transit(screen)
    }

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#f4f7fb" }
            GradientStop { position: 1.0; color: "#dde6f0" }
        }
    }

    Flickable {
        id: flick
        anchors.fill: parent
        clip: true
        contentWidth: Math.max(width, content.width)
        contentHeight: Math.max(height, content.height)
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {
            policy: home.scaling !== 1 ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
        }
        ScrollBar.horizontal: ScrollBar {
            policy: home.scaling !== 1 ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
        }

        Item {
            id: content
            width: 1010 * home.scaling
            height: 460 * home.scaling

            Row {
                id: menu
                anchors.horizontalCenter: parent.horizontalCenter
                y: 70 * home.scaling
                spacing: 40 * home.scaling

                Repeater {
                    model: [
                        { title: "機器登録・設定", screen: "DeviceSetting.qml", idleIcon: "icon_71.png", pressIcon: "icon_94.png",
                          text: qsTr("本製品を初めて使用するときに、\n本製品の登録または設定を行うことができます。") },
                        { title: "測定開始", screen: "MeasurementResult.qml", idleIcon: "icon_73.png", pressIcon: "icon_95.png",
                          text: qsTr("測定結果を確認することができます。") },
                        { title: "システム設定", screen: "SystemSetting.qml", idleIcon: "icon_04.png", pressIcon: "icon_93.png",
                          text: qsTr("本アプリのシステム設定を変更することができます。") }
                    ]

                    Column {
                        spacing: 14 * home.scaling
                        width: 300 * home.scaling

                        ButtonTemplate {
                            id: menuButton
                            objectName: "homeMenu_" + modelData.screen
                            anchors.horizontalCenter: parent.horizontalCenter
                            idlebg: "button_07.png"
                            activebg: "button_07.png"
                            pressbg: "button_96.png"
                            idleIcon: modelData.idleIcon
                            pressIcon: modelData.pressIcon
                            message: modelData.title
                            idleTextColor: "white"
                            activeTextColor: "white"
                            pressTextColor: "white"
                            scale: home.scaling
                            fontSize: 20 * home.scaling
                            defaultFontName: home.fontName

                            MouseArea {
                                anchors.fill: parent
                                onPressed: menuButton.press = true
                                onReleased: menuButton.press = false
                                onCanceled: menuButton.press = false
                                onClicked: home.transit(modelData.screen)
                            }
                        }

                        Text {
                            width: parent.width
                            horizontalAlignment: Text.AlignHCenter
                            wrapMode: Text.Wrap
                            text: modelData.text
                            color: "#27364a"
                            font.family: home.fontName
                            font.pixelSize: 13 * home.scaling
                        }
                    }
                }
            }

            Text {
                objectName: "versionText"
                anchors.left: parent.left
                anchors.bottom: parent.bottom
                anchors.leftMargin: 14 * home.scaling
                anchors.bottomMargin: 10 * home.scaling
                text: "ver1.30 rev271"
                color: "#5a6b80"
                font.family: home.fontName
                font.pixelSize: 13 * home.scaling
            }

            Image {
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.rightMargin: 14 * home.scaling
                anchors.bottomMargin: 8 * home.scaling
                width: sourceSize.width * 0.5 * home.scaling
                height: sourceSize.height * 0.5 * home.scaling
                smooth: true
                source: "qrc:/resource/image/logo_115.png"
            }
        }
    }

    Popup {
        id: lockPopup
        objectName: "lockPopup"
        modal: true
        width: 300
        height: 150
        x: (home.width - width) / 2
        y: (home.height - height) / 2
        closePolicy: Popup.NoAutoClose
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
            text: "多重起動禁止のため、アプリを終了します。"
            font.pixelSize: 14
            font.family: home.fontName
        }

        ButtonTemplate {
            id: okButton
            objectName: "lockOkButton"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 18
            idlebg: "button_19.png"
            activebg: "button_19.png"
            pressbg: "button_37.png"
            message: qsTr("OK")
            idleTextColor: "white"
            activeTextColor: "white"
            pressTextColor: "#b7b7b7"
            fontSize: 14
            defaultFontName: home.fontName

            MouseArea {
                anchors.fill: parent
                onPressed: okButton.press = true
                onReleased: okButton.press = false
                onCanceled: okButton.press = false
                onClicked: {
                    lockPopup.close()
                    home.windowClosed()
                }
            }
        }
    }

    Popup {
        id: damagedPopup
        objectName: "registrationDamagedPopup"
        modal: true
        width: 300
        height: 150
        x: (home.width - width) / 2
        y: (home.height - height) / 2
        closePolicy: Popup.NoAutoClose
        padding: 0
        background: Image { source: "qrc:/resource/image/popupBk_45.png" }

        Text {
            id: damagedText
            objectName: "registrationDamagedText"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 16
            anchors.topMargin: 24
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            font.pixelSize: 14
            font.family: home.fontName
        }

        ButtonTemplate {
            id: damagedOkButton
            objectName: "registrationDamagedOkButton"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 18
            idlebg: "button_19.png"
            activebg: "button_19.png"
            pressbg: "button_37.png"
            message: qsTr("OK")
            idleTextColor: "white"
            activeTextColor: "white"
            pressTextColor: "#b7b7b7"
            fontSize: 14
            defaultFontName: home.fontName

            MouseArea {
                anchors.fill: parent
                onPressed: damagedOkButton.press = true
                onReleased: damagedOkButton.press = false
                onCanceled: damagedOkButton.press = false
                onClicked: damagedPopup.close()
            }
        }
    }
}
