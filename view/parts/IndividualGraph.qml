import QtQuick 2.15

// One graph of the history page. The view model computes every point and the line from it
// to its older neighbour; this only places them: point i at x = (numbergraph - i) *
// graphinterval, its line `length` long and turned by 180 - direction degrees.
Item {
    id: graph

    // "level", "mer" or "ber".
    property string kind: "level"
    property var model: null
    property int numbergraph: 9
    property real graphinterval: 44
    property real graphxsize: 396
    property real graphHeight: 120
    // MER/CN and BER graphs are drawn only for bands that have them.
    property bool drawn: true
    property color lineColor: "#1f5fae"
    property color pointColor: "#1f5fae"
    property var axisLabels: []
    property string title: ""
    property string fontName: "MS ゴシック"

    readonly property real margin: 6

    width: 44 + graphxsize + 2 * margin
    height: graphHeight + 2 * margin

    Text {
        x: 0
        y: -14
        text: graph.title
        font.family: graph.fontName
        font.pixelSize: 11
        color: "#27364a"
    }

    // Axis labels: value text at its height.
    Repeater {
        model: graph.axisLabels
        Text {
            x: 0
            width: 40
            y: graph.margin + modelData.y - height / 2
            horizontalAlignment: Text.AlignRight
            text: modelData.text
            font.family: graph.fontName
            font.pixelSize: 10
            color: "#27364a"
        }
    }

    Rectangle {
        id: plot
        objectName: graph.kind + "Plot"
        x: 44
        width: graph.graphxsize + 2 * graph.margin
        height: graph.graphHeight + 2 * graph.margin
        color: "white"
        border.color: "#8aa0b8"
        clip: true

        Repeater {
            model: graph.axisLabels
            Rectangle {
                x: graph.margin
                y: graph.margin + modelData.y
                width: graph.graphxsize
                height: 1
                color: "#e3e9f0"
            }
        }

        Item {
            x: graph.margin
            y: graph.margin
            width: graph.graphxsize
            height: graph.graphHeight

            Repeater {
                objectName: graph.kind + "Points"
                model: graph.model
                Item {
                    id: point
                    // A point on its way out of the model reads undefined values.
                    readonly property real graphY: model.graphyvalue !== undefined ? model.graphyvalue : -1
                    readonly property real merY: model.meryvalue !== undefined ? model.meryvalue : -1
                    readonly property real berY: model.beryvalue !== undefined ? model.beryvalue : -1
                    readonly property real px: (graph.numbergraph - index) * graph.graphinterval
                    readonly property real py: graph.kind === "level" ? 120 - graphY
                                             : graph.kind === "mer" ? 100 - merY
                                             : berY
                    readonly property real length: (graph.kind === "level" ? model.linelength
                                                  : graph.kind === "mer" ? model.merlength
                                                  : model.berlength) || 0
                    readonly property real direction: (graph.kind === "level" ? model.rad
                                                     : graph.kind === "mer" ? model.merrad
                                                     : model.berrad) || 0
                    readonly property bool shown: graph.kind === "level" ? graphY !== -1
                                                : graph.drawn && (graph.kind === "mer" ? merY !== -1 : berY !== -1)
                    readonly property real radius: graph.graphinterval > 10 ? 3 : 1.5

                    Rectangle {
                        visible: point.shown && point.length > 0
                        x: point.px
                        y: point.py - height / 2
                        width: point.length
                        height: 1.5
                        antialiasing: true
                        color: graph.lineColor
                        transformOrigin: Item.Left
                        rotation: 180 - point.direction
                    }

                    Rectangle {
                        visible: point.shown
                        x: point.px - point.radius
                        y: point.py - point.radius
                        width: 2 * point.radius
                        height: width
                        radius: point.radius
                        color: graph.pointColor
                    }
                }
            }
        }
    }
}
