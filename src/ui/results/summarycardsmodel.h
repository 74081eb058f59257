#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <array>

namespace twinsift {

// The four summary cards above the results, in order. Their values change
// with the result and their highlight with the view; each change announces
// only the cards and roles it touches.
class SummaryCardsModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The cards belong to a DuplicateReviewModel.")

public:
    enum Role {
        TitleRole = Qt::UserRole + 1,
        ValueRole,
        IconRole,
        SelectedRole,
        ClickableRole,
        TooltipRole,
    };
    Q_ENUM(Role)

    // Card order, also the order of the rows.
    enum Card { FilesScanned, DuplicateGroups, DuplicateFiles, PotentialSavings };
    Q_ENUM(Card)

    explicit SummaryCardsModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void setValues(const std::array<QString, 4> &values);
    void setSelected(const std::array<bool, 4> &selected);
    QString value(Card card) const { return m_values[card]; }
    bool isSelected(Card card) const { return m_selected[card]; }

private:
    std::array<QString, 4> m_values;
    std::array<bool, 4> m_selected{};
};

} // namespace twinsift
