#include "forms/ElidedItemTips.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

QStyleOptionViewItem ElidedItemTips::visiblePart(const QStyleOptionViewItem& option)
{
    QStyleOptionViewItem visible = option;
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
        visible.rect.setRight(std::min(visible.rect.right(), view->viewport()->rect().right()));
    return visible;
}

void ElidedItemTips::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, visiblePart(option), index);
}

bool ElidedItemTips::isElided(const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!index.isValid())
        return false;
    QStyleOptionViewItem item = visiblePart(option);
    item.index = index;
    item.text = index.data(Qt::DisplayRole).toString();
    item.features |= QStyleOptionViewItem::HasDisplay;
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    // The style elides within the text rectangle less a focus margin on either side.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    return option.fontMetrics.horizontalAdvance(item.text) > textRect.width() - 2 * margin;
}

bool ElidedItemTips::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                               const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip && isElided(option, index)) {
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view->viewport(),
                           option.rect);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
