#pragma once

#include <QStyledItemDelegate>

// Draws a list's items as usual, shortened with "…" when they do not fit, and shows a shortened
// item's whole text as its tooltip.
class ElidedItemTips : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Whether the item's text is wider than the room the view gives it.
    static bool isElided(const QStyleOptionViewItem& option, const QModelIndex& index);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    // A list view lays an item out as wide as its text; what shows ends at the viewport's edge.
    static QStyleOptionViewItem visiblePart(const QStyleOptionViewItem& option);
};
