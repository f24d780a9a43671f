#pragma once

#include <QStyledItemDelegate>

namespace corvane {

// Draws a column node's data type after its name, dimmed, so that the type
// never counts as part of the name (filters and the table text use the name).
class SchemaTreeDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace corvane
