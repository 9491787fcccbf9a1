#pragma once

#include <array>

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

class QPainter;
class QRect;

// The main window's status bar: four panels left to right, 0 the recognised chord (65 wide, wider
// when the catalogue has longer names), 1 its place among the stored grips (35), 2 the owner-drawn
// warning symbol (22 when shown, else 0), 3 the status message up to the right edge. A text that does
// not fit its panel is shortened with "…" and shown whole as the panel's tooltip.
class Statusleiste : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PanelCount = 4;

    explicit Statusleiste(QWidget* parent = nullptr);

    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;
    // Panel 3.
    void setMessage(const QString& text) { setPanelText(3, text); }

    void setWarningShown(bool shown);
    bool warningShown() const { return m_warningShown; }

    // Widens the chord panel so that every one of these names shows whole; never below 65.
    void chordPanelFit(const QStringList& names);
    // Whether the panel's text is shortened to fit.
    bool panelTextShortened(int panel) const;
    // The text as the panel draws it, in full or shortened with "…".
    QString panelTextShown(int panel) const;
    // Where the panel draws its text.
    QRect panelTextRect(int panel) const;

    // 0 and an empty rectangle for a panel outside 0..3.
    int panelWidth(int panel) const;
    QRect panelRect(int panel) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SB_StatusbarDrawPanel(QPainter& painter, const QRect& rect) const;

    std::array<QString, PanelCount> m_texts;
    bool m_warningShown = false;
    int m_chordWidth = 65;
    QPixmap m_warningPicture;
};
