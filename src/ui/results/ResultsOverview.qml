pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// Everything above the results table: the summary cards, the category bar
// with the search field, and the heading of what the table shows (or the
// panel shown instead of a table).
Column {
    id: overview

    required property DuplicateReviewModel review

    function focusSearch() {
        searchField.forceActiveFocus()
        searchField.selectAll()
    }

    spacing: 18
    topPadding: 18

    // --- Summary cards ---------------------------------------------------
    Grid {
        id: cards
        readonly property int columnCount: Math.max(1, Math.min(cardRepeater.count, Math.floor((width + 14) / (170 + 14))))
        width: parent.width
        columns: columnCount
        columnSpacing: 14
        rowSpacing: 14
        Repeater {
            id: cardRepeater
            model: overview.review.summaryCards
            delegate: MetricCard {
                required property int index
                width: (cards.width - (cards.columnCount - 1) * 14) / cards.columnCount
                accent: Theme.accent(index)
                onClicked: overview.review.activateSummaryCard(index)
            }
        }
    }

    // --- Category bar and search -----------------------------------------
    Flow {
        width: parent.width
        spacing: 8
        Repeater {
            model: overview.review.categoryButtons
            delegate: Button {
                id: categoryButton
                required property int category
                required property string label
                required property string helpText
                required property bool selected
                text: label
                ControlAccess {
                    control: categoryButton
                    name: categoryButton.label
                    description: categoryButton.helpText
                    checkable: true
                    checked: categoryButton.selected
                }
                hoverEnabled: true
                HoverTip { text: categoryButton.helpText }
                onClicked: overview.review.selectCategory(category)
                background: Rectangle {
                    radius: Theme.panelRadius
                    color: categoryButton.selected ? Theme.navy : Theme.controlBackground
                    border.width: categoryButton.visualFocus ? 2 : 1
                    border.color: categoryButton.visualFocus ? Theme.systemAccent
                                                             : categoryButton.selected ? Theme.navy : Theme.separator
                }
                contentItem: Label {
                    text: categoryButton.label
                    color: categoryButton.selected ? Theme.white : Theme.primaryText
                    font.pointSize: Theme.subheadlineSize
                    font.weight: Font.DemiBold
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
            }
        }
        TextField {
            id: searchField
            objectName: "searchField"
            width: 240
            text: overview.review.searchText
            onTextEdited: overview.review.searchText = text
            placeholderText: overview.review.searchPlaceholder
            leftPadding: 28
            rightPadding: clearButton.visible ? 28 : 8
            ControlAccess {
                control: searchField
                role: Accessible.EditableText
                name: searchField.placeholderText
                press: () => searchField.forceActiveFocus()
            }
            SymbolIcon {
                anchors.left: parent.left
                anchors.leftMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                name: "magnifyingglass"
                color: Theme.secondaryText
                size: Theme.subheadlinePoints
            }
            ToolButton {
                id: clearButton
                visible: searchField.text !== ""
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                width: 26
                height: 26
                focusPolicy: Qt.NoFocus
                ControlAccess { control: clearButton; name: qsTr("Clear search") }
                HoverTip { text: qsTr("Clear search") }
                onClicked: overview.review.clearSearch()
                contentItem: SymbolIcon {
                    name: "xmark.circle.fill"
                    color: Theme.tertiaryText
                    size: Theme.subheadlinePoints
                }
            }
        }
    }

    // --- The planned category --------------------------------------------
    Rectangle {
        visible: overview.review.showsPlannedPanel
        width: parent.width
        height: plannedColumn.implicitHeight + 60
        radius: Theme.cardRadius
        color: Theme.controlBackground
        border.color: Theme.separator
        Column {
            id: plannedColumn
            anchors.centerIn: parent
            width: Math.min(parent.width - 40, 520)
            spacing: 10
            SymbolIcon {
                anchors.horizontalCenter: parent.horizontalCenter
                name: "sparkles.rectangle.stack"
                color: Theme.purple
                size: 30
            }
            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("Similar Files")
                color: Theme.primaryText
                font.pointSize: Theme.title3Size
                font.weight: Font.Bold
            }
            Label {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                text: qsTr("Planned: near-duplicate or visually similar files will be reviewed separately so they are never confused with SHA-256 verified exact duplicates.")
                color: Theme.secondaryText
                font.pointSize: Theme.bodySize
            }
        }
    }

    // --- The flat list's title ---------------------------------------------
    Label {
        visible: overview.review.showsFlatList
        text: overview.review.sectionTitle
        color: Theme.navy
        font.pointSize: Theme.title3Size
        font.weight: Font.Bold
    }

    // --- The grouped view's heading ----------------------------------------
    Column {
        visible: !overview.review.showsFlatList && !overview.review.showsPlannedPanel
        width: parent.width
        spacing: 12

        RowLayout {
            width: parent.width
            spacing: 16
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 3
                Label {
                    text: overview.review.sectionTitle
                    color: Theme.navy
                    font.pointSize: Theme.title3Size
                    font.weight: Font.Bold
                }
                Label {
                    Layout.fillWidth: true
                    text: overview.review.categoryDescription
                    wrapMode: Text.Wrap
                    color: Theme.secondaryText
                    font.pointSize: Theme.subheadlineSize
                }
            }
            Column {
                id: cleanupNote
                visible: overview.review.cleanupEnabled
                Layout.alignment: Qt.AlignTop
                spacing: 2
                HoverTip {
                    text: qsTr("Toggle Keep or Trash for verified exact duplicates. Review Only files must be checked manually.")
                }
                Row {
                    Label { text: qsTr("* Toggle "); color: Theme.secondaryText; font.pointSize: Theme.captionSize }
                    Label { text: qsTr("Keep"); color: Theme.green; font.pointSize: Theme.captionSize; font.weight: Font.DemiBold }
                    Label { text: "/"; color: Theme.secondaryText; font.pointSize: Theme.captionSize }
                    Label { text: qsTr("Trash"); color: Theme.red; font.pointSize: Theme.captionSize; font.weight: Font.DemiBold }
                    Label { text: qsTr(" for Cleanup"); color: Theme.secondaryText; font.pointSize: Theme.captionSize }
                }
                Row {
                    Label { text: "** "; color: Theme.secondaryText; font.pointSize: Theme.captionSize }
                    Label { text: qsTr("Review Only"); color: Theme.orange; font.pointSize: Theme.captionSize; font.weight: Font.DemiBold }
                    Label { text: qsTr(": check manually"); color: Theme.secondaryText; font.pointSize: Theme.captionSize }
                }
            }
        }

        RowLayout {
            width: parent.width
            spacing: 10
            Label {
                objectName: "groupCountLabel"
                text: overview.review.groupCountText
                color: Theme.primaryText
                font.pointSize: Theme.bodySize
                font.weight: Font.DemiBold
            }
            Item { Layout.fillWidth: true }
            // Tools that act on many marks at once sit here, beside the sort.
            Row {
                id: markTools
                spacing: 8
                MarkMenu {
                    review: overview.review
                    visible: overview.review.cleanupEnabled
                }
            }
            Label {
                text: qsTr("Sort:")
                color: Theme.secondaryText
                font.pointSize: Theme.subheadlineSize
            }
            ComboBox {
                id: sortMenu
                objectName: "sortMenu"
                // As wide as its longest choice, which runs longer in German.
                implicitContentWidthPolicy: ComboBox.WidestText
                implicitWidth: Math.max(170, implicitContentWidth + leftPadding + rightPadding)
                model: overview.review.sortOptions
                currentIndex: overview.review.sortMode
                ControlAccess {
                    control: sortMenu
                    role: Accessible.ComboBox
                    name: qsTr("Sort: %1").arg(sortMenu.displayText)
                    press: () => sortMenu.popup.open()
                }
                onActivated: index => overview.review.sortMode = index
            }
        }
    }

    // --- Nothing matches, in either view -------------------------------------
    Rectangle {
        objectName: "noMatchesPanel"
        visible: overview.review.hasNoMatches
        width: parent.width
        height: emptyColumn.implicitHeight + 48
        radius: Theme.cardRadius
        color: Theme.controlBackground
        border.color: Theme.separator
        Column {
            id: emptyColumn
            anchors.centerIn: parent
            width: parent.width - 40
            spacing: 8
            SymbolIcon {
                anchors.horizontalCenter: parent.horizontalCenter
                name: "magnifyingglass"
                color: Theme.tertiaryText
                size: 26
            }
            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("No matching results")
                color: Theme.primaryText
                font.pointSize: Theme.title3Size
                font.weight: Font.DemiBold
            }
            Label {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                text: qsTr("Try clearing the search or selecting another result category.")
                color: Theme.secondaryText
                font.pointSize: Theme.bodySize
            }
        }
    }
}
