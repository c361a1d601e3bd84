import QtQuick 2.15
import QtQuick.Controls 2.15
import "parts"

// The 個別一覧 page: the history of one channel as a table of one date, 300 rows a page, and
// as level, MER/CN and BER graphs. Its view model writes the properties below by name and
// receives every operation through rowbuttonclicked.
Item {
    id: page
    objectName: "ResultIndividual"

    property real scaling: 1
    property string fontName: "MS ゴシック"

    property bool bandcheck: true
    property var headerstatus: []
    property string localfreq: "---"
    property int status: 0
    property bool updateflag: false
    property int rowindex: 10
    property int listCount: 1
    property int currentpage: 1
    property var datelist: []
    property string currentupdatetext: "未選択"
    property var measuerheaderlist: []
    property real xaxisscale: 120
    property real xaxissmagn: 20
    property string pointstring: "10"
    property bool checkpoint: false
    property real graphinterval: 44
    property int numbergraph: 9
    property real graphxsize: 396
    property real mindisplay: 20
    property real maxdisplay: 120
    property var minimumselectstring: ["20", "40", "60", "80", "100"]
    property var maxselectstring: ["40", "60", "80", "100", "120"]

    signal rowbuttonclicked(string buttonname, string buttonvalue, int rowvalue)

    function transit(screen) {
        ApplicationWindow.window.transit(screen)
    }

    // A property the view model empties with a text or a number before it gives the list.
    function listOf(value) {
        return (value === undefined || value === null || typeof value === "string" || typeof value === "number")
                ? [] : value
    }

    function textOf(list, i) {
        var l = listOf(list)
        return l.length > i && l[i] !== undefined ? String(l[i]) : ""
    }

    onCurrentpageChanged: pageInput.text = String(currentpage)

    readonly property var columnWidths: [170, 80, 80, 90, 80]
    readonly property var statusColors: ["#3cb371", "#e0b000", "#e03c3c", "#8a4fd0"]

    Rectangle {
        anchors.fill: parent
        color: "#eef2f7"
    }

    // Above 100 % the page scrolls like the other pages, so the graphs and the axis box
    // stay reachable in the default window.
    Flickable {
        id: zoomArea
        objectName: "zoomArea"
        anchors.fill: parent
        contentWidth: content.width * page.scaling
        contentHeight: content.height * page.scaling
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        interactive: page.scaling > 1
        ScrollBar.horizontal: ScrollBar { policy: page.scaling > 1 ? ScrollBar.AsNeeded : ScrollBar.AlwaysOff }
        ScrollBar.vertical: ScrollBar { policy: page.scaling > 1 ? ScrollBar.AsNeeded : ScrollBar.AlwaysOff }

        Item {
            id: content
            width: 1010
            height: 460
            scale: page.scaling
            transformOrigin: Item.TopLeft

            // --- channel header ---------------------------------------------------------------
            Rectangle {
                id: backButton
                objectName: "backButton"
                x: 10
                y: 8
                width: 60
                height: 44
                radius: 4
                color: backArea.pressed ? "#27364a" : "#35506e"
                Text {
                    anchors.centerIn: parent
                    text: "戻る"
                    color: "white"
                    font.family: page.fontName
                    font.pixelSize: 14
                }
                MouseArea {
                    id: backArea
                    anchors.fill: parent
                    onClicked: page.transit("MeasurementResult.qml")
                }
            }

            Row {
                id: headerRow
                x: 80
                y: 8
                Repeater {
                    model: [
                        { title: "機器No", width: 56 },
                        { title: "名称", width: 140 },
                        { title: "バンド", width: 100 },
                        { title: "チャンネル", width: 80 },
                        { title: "偏波", width: 50 }
                    ]
                    Column {
                        Rectangle {
                            width: modelData.width
                            height: 22
                            color: "#35506e"
                            border.color: "#eef2f7"
                            Text {
                                anchors.centerIn: parent
                                text: modelData.title
                                color: "white"
                                font.family: page.fontName
                                font.pixelSize: 12
                            }
                        }
                        Rectangle {
                            width: modelData.width
                            height: 22
                            color: "white"
                            border.color: "#c9d3df"
                            Text {
                                objectName: "headerText" + index
                                anchors.centerIn: parent
                                text: page.textOf(page.headerstatus, index)
                                font.family: page.fontName
                                font.pixelSize: 12
                            }
                        }
                    }
                }
            }

            Rectangle {
                id: statusLamp
                objectName: "statusLamp"
                anchors.left: headerRow.right
                anchors.leftMargin: 8
                y: 20
                width: 20
                height: 20
                radius: 10
                color: page.statusColors[page.status] !== undefined ? page.statusColors[page.status] : "#9aa5b1"
                border.color: "#27364a"
            }

            Row {
                id: infoRow
                x: 10
                y: 60
                spacing: 6
                Repeater {
                    model: ["放送規格", "変調方式", "階層", "局発"]
                    Row {
                        Rectangle {
                            width: 64
                            height: 22
                            color: "#35506e"
                            Text {
                                anchors.centerIn: parent
                                text: modelData
                                color: "white"
                                font.family: page.fontName
                                font.pixelSize: 12
                            }
                        }
                        Rectangle {
                            width: index === 0 ? 86 : 60
                            height: 22
                            color: "white"
                            border.color: "#c9d3df"
                            Text {
                                objectName: "infoText" + index
                                anchors.centerIn: parent
                                text: index < 3 ? page.textOf(page.measuerheaderlist, index) : page.localfreq
                                font.family: page.fontName
                                font.pixelSize: 12
                            }
                        }
                    }
                }
            }

            // --- date, update and paging ------------------------------------------------------
            Row {
                id: controlRow
                x: 10
                y: 92
                spacing: 8

                ComboBox {
                    id: dateBox
                    objectName: "dateBox"
                    width: 140
                    height: 28
                    model: page.listOf(page.datelist)
                    displayText: count > 0 ? currentText : page.currentupdatetext
                    font.family: page.fontName
                    font.pixelSize: 12
                    onActivated: page.rowbuttonclicked("datechangelist", textAt(index), 0)
                }

                Rectangle {
                    id: updateTag
                    objectName: "updateTag"
                    width: 70
                    height: 28
                    radius: 4
                    color: page.updateflag ? "#2e8b57" : "#7d8793"
                    Text {
                        anchors.centerIn: parent
                        text: page.updateflag ? "更新中" : "停止中"
                        color: "white"
                        font.family: page.fontName
                        font.pixelSize: 13
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: page.rowbuttonclicked("updatebutton", "updatebutton", 0)
                    }
                }

                Item { width: 40; height: 1 }

                Rectangle {
                    objectName: "previousButton"
                    width: 28
                    height: 28
                    radius: 4
                    color: previousArea.pressed ? "#27364a" : "#35506e"
                    Text { anchors.centerIn: parent; text: "◀"; color: "white"; font.pixelSize: 12 }
                    MouseArea {
                        id: previousArea
                        anchors.fill: parent
                        onClicked: page.rowbuttonclicked("previouslist", "minus", 0)
                    }
                }

                TextField {
                    id: pageInput
                    objectName: "pageInput"
                    width: 44
                    height: 28
                    maximumLength: 3
                    horizontalAlignment: Text.AlignHCenter
                    text: "1"
                    font.family: page.fontName
                    font.pixelSize: 12
                    onAccepted: page.rowbuttonclicked("inputenter", text, 0)
                }

                Text {
                    height: 28
                    verticalAlignment: Text.AlignVCenter
                    text: "/ " + page.listCount + " ページ"
                    font.family: page.fontName
                    font.pixelSize: 12
                }

                Rectangle {
                    objectName: "nextButton"
                    width: 28
                    height: 28
                    radius: 4
                    color: nextArea.pressed ? "#27364a" : "#35506e"
                    Text { anchors.centerIn: parent; text: "▶"; color: "white"; font.pixelSize: 12 }
                    MouseArea {
                        id: nextArea
                        anchors.fill: parent
                        onClicked: page.rowbuttonclicked("nextlist", "plus", 0)
                    }
                }
            }

            // --- table ------------------------------------------------------------------------
            Row {
                id: tableHeader
                x: 10
                y: 128
                Repeater {
                    model: ["日時", "レベル(dBμV)", "MER/CN(dB)", "BER", "光レベル(dBm)"]
                    Rectangle {
                        width: page.columnWidths[index]
                        height: 24
                        color: "#35506e"
                        border.color: "#eef2f7"
                        Text {
                            anchors.centerIn: parent
                            text: modelData
                            color: "white"
                            font.family: page.fontName
                            font.pixelSize: 12
                        }
                    }
                }
            }

            ListView {
                id: table
                objectName: "historyTable"
                anchors.left: tableHeader.left
                anchors.top: tableHeader.bottom
                width: tableHeader.width + 12
                height: 452 - y
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                model: individualResultListModel
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

                delegate: IndividualResultList {
                    // A row on its way out of the model reads undefined values.
                    date: model.date || ""
                    level: model.level || ""
                    mer: model.mer || ""
                    ber: model.ber || ""
                    hikarilevel: model.hikarilevel || ""
                    levelerror: model.levelerror === true
                    mererror: model.mererror === true
                    bererror: model.bererror === true
                    hikarierror: model.hikarierror === true
                    selectflag: model.selectflag === true
                    bandcheck: page.bandcheck
                    selected: page.updateflag ? index === 0 : model.selectflag === true
                    columnWidths: page.columnWidths
                    fontName: page.fontName
                    onDoubleClicked: page.rowbuttonclicked("doubleClickListRow", "doubleClickListRow", index)
                }
            }

            // --- graphs -----------------------------------------------------------------------
            Row {
                id: graphControls
                x: 548
                y: 8
                spacing: 5

                Text {
                    height: 26
                    verticalAlignment: Text.AlignVCenter
                    text: "表示点数"
                    font.family: page.fontName
                    font.pixelSize: 12
                }
                ComboBox {
                    objectName: "pointBox"
                    width: 82
                    height: 26
                    model: ["10", "100"]
                    displayText: page.pointstring
                    font.pixelSize: 12
                    onActivated: page.rowbuttonclicked("comboboxchangedisplaypoint", textAt(index), 0)
                }
                Text {
                    height: 26
                    verticalAlignment: Text.AlignVCenter
                    text: "レベル軸"
                    font.family: page.fontName
                    font.pixelSize: 12
                }
                ComboBox {
                    objectName: "minimumBox"
                    width: 82
                    height: 26
                    model: page.listOf(page.minimumselectstring)
                    displayText: String(page.mindisplay)
                    font.pixelSize: 12
                    onActivated: page.rowbuttonclicked("changeminimumscale", textAt(index), 0)
                }
                Text {
                    height: 26
                    verticalAlignment: Text.AlignVCenter
                    text: "～"
                    font.family: page.fontName
                    font.pixelSize: 12
                }
                ComboBox {
                    objectName: "maximumBox"
                    width: 82
                    height: 26
                    model: page.listOf(page.maxselectstring)
                    displayText: String(page.maxdisplay)
                    font.pixelSize: 12
                    onActivated: page.rowbuttonclicked("changemaxscale", textAt(index), 0)
                }
            }

            IndividualGraph {
                id: levelGraph
                objectName: "levelGraph"
                x: 548
                y: 56
                kind: "level"
                title: "レベル(dBμV)"
                graphHeight: 120
                model: individualResultsModel
                numbergraph: page.numbergraph
                graphinterval: page.graphinterval
                graphxsize: page.graphxsize
                fontName: page.fontName
                axisLabels: {
                    var labels = []
                    for (var k = 0; k <= 5; ++k)
                        labels.push({ y: k * 24, text: String(Math.round((page.xaxisscale - k * page.xaxissmagn) * 10) / 10) })
                    return labels
                }
            }

            IndividualGraph {
                id: merGraph
                objectName: "merGraph"
                x: 548
                y: levelGraph.y + levelGraph.height + 18
                kind: "mer"
                title: "MER/CN(dB)"
                graphHeight: 100
                model: individualResultsModel
                numbergraph: page.numbergraph
                graphinterval: page.graphinterval
                graphxsize: page.graphxsize
                drawn: page.bandcheck
                lineColor: "#2e8b57"
                pointColor: "#2e8b57"
                fontName: page.fontName
                axisLabels: [{ y: 0, text: "45" }, { y: 25, text: "35" }, { y: 50, text: "25" },
                             { y: 75, text: "15" }, { y: 100, text: "5" }]
            }

            IndividualGraph {
                id: berGraph
                objectName: "berGraph"
                x: 548
                y: merGraph.y + merGraph.height + 18
                kind: "ber"
                title: "BER"
                graphHeight: 84
                model: individualResultsModel
                numbergraph: page.numbergraph
                graphinterval: page.graphinterval
                graphxsize: page.graphxsize
                drawn: page.bandcheck
                lineColor: "#c0531f"
                pointColor: "#c0531f"
                fontName: page.fontName
                axisLabels: [{ y: 0, text: "1E-2" }, { y: 14, text: "1E-3" }, { y: 28, text: "1E-4" },
                             { y: 42, text: "1E-5" }, { y: 56, text: "1E-6" }, { y: 70, text: "1E-7" },
                             { y: 84, text: "1E-8" }]
            }

            // Times of the points under the graphs, every tenth one at 100 points.
            Item {
                x: berGraph.x + 44 + berGraph.margin
                y: berGraph.y + berGraph.height + 2
                width: page.graphxsize
                height: 24
                Repeater {
                    model: individualResultsModel
                    Text {
                        visible: !page.checkpoint || index % 10 === 0
                        x: (page.numbergraph - index) * page.graphinterval - width / 2
                        y: index % 2 === 0 ? 0 : 11
                        text: model.time === "---" || model.time === undefined ? "" : model.time
                        font.family: page.fontName
                        font.pixelSize: 9
                        color: "#27364a"
                    }
                }
            }
        }
    }
}
