#include "forms/Statusleiste.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QRect>
#include <QSizePolicy>
#include <QToolTip>
#include <qdrawutil.h>

#include "forms/MsgSymbole.h"

namespace {

constexpr int barHeight = 19;
constexpr int warningPanel = 2;
constexpr int lastPanel = 3;
constexpr std::array<int, 3> fixedWidths = {65, 35, 22};
constexpr int textInset = 2;
constexpr int chordPanel = 0;
constexpr int placePanel = 1;

} // namespace

Statusleiste::Statusleiste(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    QPixmap picture(MsgSymbolGroesse, MsgSymbolGroesse);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(1, 0, MsgSymbol(0));
    painter.end();
    m_warningPicture = picture;
}

void Statusleiste::setPanelText(int panel, const QString& text)
{
    if (panel < 0 || panel >= PanelCount || m_texts[panel] == text)
        return;
    m_texts[panel] = text;
    // A wider place text moves the panels right of it.
    update(panel == placePanel ? rect() : panelRect(panel));
}

QString Statusleiste::panelText(int panel) const
{
    if (panel < 0 || panel >= PanelCount)
        return {};
    return m_texts[panel];
}

void Statusleiste::setWarningShown(bool shown)
{
    if (m_warningShown == shown)
        return;
    m_warningShown = shown;
    update();
}

void Statusleiste::chordPanelFit(const QStringList& names)
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& name : names)
        widest = std::max(widest, metrics.horizontalAdvance(name));
    // The text area lies textInset inside the bevel on either side, and a glyph may overhang its
    // advance by a pixel.
    const int width = std::max(fixedWidths[chordPanel], widest + 2 * textInset + 1);
    if (width == m_chordWidth)
        return;
    m_chordWidth = width;
    updateGeometry();
    update();
}

bool Statusleiste::panelTextShortened(int panel) const
{
    if (panel < 0 || panel >= PanelCount || panel == warningPanel)
        return false;
    return QFontMetrics(font()).horizontalAdvance(m_texts[panel]) > panelTextRect(panel).width();
}

QString Statusleiste::panelTextShown(int panel) const
{
    if (panel < 0 || panel >= PanelCount || panel == warningPanel)
        return {};
    return QFontMetrics(font()).elidedText(m_texts[panel], Qt::ElideRight,
                                           std::max(0, panelTextRect(panel).width()));
}

QRect Statusleiste::panelTextRect(int panel) const
{
    return panelRect(panel).adjusted(textInset, 1, -textInset, -1);
}

int Statusleiste::panelWidth(int panel) const
{
    if (panel < 0 || panel >= PanelCount)
        return 0;
    if (panel == warningPanel && !m_warningShown)
        return 0;
    if (panel == chordPanel)
        return m_chordWidth;
    // The place among the stored grips grows with large counts ("123/4567") instead of being cut.
    if (panel == placePanel)
        return std::max(fixedWidths[placePanel],
                        QFontMetrics(font()).horizontalAdvance(m_texts[placePanel]) + 2 * textInset + 1);
    if (panel < lastPanel)
        return fixedWidths[panel];
    return std::max(0, width() - panelRect(lastPanel).x());
}

QRect Statusleiste::panelRect(int panel) const
{
    if (panel < 0 || panel >= PanelCount)
        return {};
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += panelWidth(i);
    if (panel == lastPanel)
        return QRect(left, 0, std::max(0, width() - left), height());
    return QRect(left, 0, panelWidth(panel), height());
}

QSize Statusleiste::sizeHint() const
{
    return QSize(m_chordWidth + fixedWidths[1] + fixedWidths[2] + 50, barHeight);
}

QSize Statusleiste::minimumSizeHint() const
{
    return QSize(0, barHeight);
}

bool Statusleiste::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        for (int panel = 0; panel < PanelCount; ++panel) {
            if (panelRect(panel).contains(help->pos()) && panelTextShortened(panel)) {
                QToolTip::showText(help->globalPos(), m_texts[panel], this, panelRect(panel));
                return true;
            }
        }
    }
    return QWidget::event(event);
}

void Statusleiste::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    for (int panel = 0; panel < PanelCount; ++panel) {
        const QRect area = panelRect(panel);
        if (area.isEmpty())
            continue;
        if (panel == warningPanel) {
            SB_StatusbarDrawPanel(painter, area);
            continue;
        }
        qDrawShadePanel(&painter, area, palette(), true, 1);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(panelTextRect(panel), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         panelTextShown(panel));
    }
}

// The symbol lies one pixel in from the left of a white square, and the square is squeezed into the panel.
void Statusleiste::SB_StatusbarDrawPanel(QPainter& painter, const QRect& rect) const
{
    if (!m_warningShown)
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect, m_warningPicture);
    painter.restore();
}
