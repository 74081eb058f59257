#include "summarycardsmodel.h"

#include "reviewtexts.h"

namespace twinsift {

namespace {

struct CardText {
    const char *title;
    const char *icon;
};

constexpr std::array<CardText, 4> cards{{
    {QT_TRANSLATE_NOOP("twinsift::SummaryCardsModel", "Files Scanned"), "doc.text.magnifyingglass"},
    {QT_TRANSLATE_NOOP("twinsift::SummaryCardsModel", "Duplicate Groups"),
     "square.stack.3d.up.fill"},
    {QT_TRANSLATE_NOOP("twinsift::SummaryCardsModel", "Duplicate Files"), "doc.on.doc.fill"},
    {QT_TRANSLATE_NOOP("twinsift::SummaryCardsModel", "Potential Savings"), "internaldrive.fill"},
}};

} // namespace

SummaryCardsModel::SummaryCardsModel(QObject *parent) : QAbstractListModel(parent) {}

int SummaryCardsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cards.size());
}

QVariant SummaryCardsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
        index.row() >= rowCount())
        return {};
    const auto card = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole:
        return tr(cards[card].title);
    case ValueRole:
        return m_values[card];
    case IconRole:
        return QString::fromLatin1(cards[card].icon);
    case SelectedRole:
        return m_selected[card];
    case ClickableRole:
        return card != FilesScanned;
    case TooltipRole:
        return QString::fromStdString(ReviewTexts::metricCardTooltip(cards[card].title));
    }
    return {};
}

QHash<int, QByteArray> SummaryCardsModel::roleNames() const {
    return {
        {TitleRole, "title"},       {ValueRole, "value"},         {IconRole, "iconName"},
        {SelectedRole, "selected"}, {ClickableRole, "clickable"}, {TooltipRole, "tooltip"},
    };
}

void SummaryCardsModel::setValues(const std::array<QString, 4> &values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] == m_values[i])
            continue;
        m_values[i] = values[i];
        const QModelIndex at = index(static_cast<int>(i));
        emit dataChanged(at, at, {ValueRole});
    }
}

void SummaryCardsModel::setSelected(const std::array<bool, 4> &selected) {
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if (selected[i] == m_selected[i])
            continue;
        m_selected[i] = selected[i];
        const QModelIndex at = index(static_cast<int>(i));
        emit dataChanged(at, at, {SelectedRole});
    }
}

} // namespace twinsift
