#include "ui/main/schematreedelegate.h"

#include "ui/main/schematreemodel.h"

#include <QApplication>
#include <QPainter>

namespace corvane {

namespace {

QString typeText(const QModelIndex& index)
{
    return index.data(SchemaTreeModel::TypeRole).toString();
}

// The gap between the name and its type.
int gap(const QFontMetrics& metrics)
{
    return metrics.horizontalAdvance(u'M');
}

} // namespace

void SchemaTreeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QString type = typeText(index);
    if (type.isEmpty())
        return;

    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    const int nameWidth = opt.fontMetrics.horizontalAdvance(opt.text);
    QRect typeRect = textRect.adjusted(nameWidth + gap(opt.fontMetrics), 0, 0, 0);
    if (typeRect.width() <= 0)
        return;

    painter->save();
    const bool selected = opt.state & QStyle::State_Selected;
    QColor color = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    color.setAlphaF(0.6f);
    painter->setPen(color);
    painter->setFont(opt.font);
    painter->drawText(typeRect, Qt::AlignLeft | Qt::AlignVCenter,
                      opt.fontMetrics.elidedText(type, Qt::ElideRight, typeRect.width()));
    painter->restore();
}

QSize SchemaTreeDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QString type = typeText(index);
    if (!type.isEmpty())
        size.rwidth() += gap(option.fontMetrics) + option.fontMetrics.horizontalAdvance(type);
    return size;
}

} // namespace corvane
