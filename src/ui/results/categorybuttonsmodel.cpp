#include "categorybuttonsmodel.h"

#include "matchcategory.h"
#include "resulttexts.h"

namespace twinsift {

CategoryButtonsModel::CategoryButtonsModel(QObject *parent) : QAbstractListModel(parent) {}

int CategoryButtonsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(MatchCategory::allCases().size());
}

QVariant CategoryButtonsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
        index.row() >= rowCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const MatchCategory category = MatchCategory::allCases()[row];
    switch (role) {
    case CategoryRole:
        return index.row();
    case Qt::DisplayRole:
    case LabelRole:
        return m_labels[row];
    case HelpTextRole:
        return ResultTexts::categoryHelp(category);
    case SelectedRole:
        return index.row() == m_selected;
    }
    return {};
}

QHash<int, QByteArray> CategoryButtonsModel::roleNames() const {
    return {
        {CategoryRole, "category"},
        {LabelRole, "label"},
        {HelpTextRole, "helpText"},
        {SelectedRole, "selected"},
    };
}

void CategoryButtonsModel::setLabels(const std::array<QString, 4> &labels) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (labels[i] == m_labels[i])
            continue;
        m_labels[i] = labels[i];
        const QModelIndex at = index(static_cast<int>(i));
        emit dataChanged(at, at, {LabelRole});
    }
}

void CategoryButtonsModel::setSelected(int category) {
    if (category == m_selected)
        return;
    const int previous = m_selected;
    m_selected = category;
    emit dataChanged(index(previous), index(previous), {SelectedRole});
    emit dataChanged(index(category), index(category), {SelectedRole});
}

QString CategoryButtonsModel::label(int category) const {
    return category >= 0 && category < rowCount() ? m_labels[static_cast<std::size_t>(category)]
                                                  : QString();
}

} // namespace twinsift
