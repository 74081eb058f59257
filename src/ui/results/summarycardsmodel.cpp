#include "summarycardsmodel.h"

#include "resulttexts.h"

namespace twinsift {

namespace {

constexpr std::array<const char *, 4> icons{
    "doc.text.magnifyingglass",
    "square.stack.3d.up.fill",
    "doc.on.doc.fill",
    "internaldrive.fill",
};

} // namespace

SummaryCardsModel::SummaryCardsModel(QObject *parent) : QAbstractListModel(parent) {}

int SummaryCardsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(icons.size());
}

QVariant SummaryCardsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
        index.row() >= rowCount())
        return {};
    const auto card = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole:
        return ResultTexts::cardTitle(static_cast<Card>(card));
    case ValueRole:
        return m_values[card];
    case IconRole:
        return QString::fromLatin1(icons[card]);
    case SelectedRole:
        return m_selected[card];
    case ClickableRole:
        return card != FilesScanned;
    case TooltipRole:
        return ResultTexts::cardTooltip(static_cast<Card>(card));
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
