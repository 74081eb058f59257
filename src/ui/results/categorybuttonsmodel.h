#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <array>

namespace twinsift {

// The category bar: one button per match category, in bar order, with its
// label (title and count), help text and highlight.
class CategoryButtonsModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The category bar belongs to a DuplicateReviewModel.")

public:
    enum Role {
        // The DuplicateReviewModel::Category the button selects.
        CategoryRole = Qt::UserRole + 1,
        LabelRole,
        HelpTextRole,
        SelectedRole,
    };
    Q_ENUM(Role)

    explicit CategoryButtonsModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void setLabels(const std::array<QString, 4> &labels);
    void setSelected(int category);
    QString label(int category) const;

private:
    std::array<QString, 4> m_labels;
    int m_selected = 0;
};

} // namespace twinsift
