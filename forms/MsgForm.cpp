#include "forms/MsgForm.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStringList>
#include <QTextLayout>

#include "forms/MsgSymbole.h"

namespace {

constexpr int clientHeight = 143;
constexpr int infoHeight = 49;
constexpr int spacerHeight = 17;
constexpr int buttonsHeight = 35;
constexpr int leastWidth = 250;
constexpr int textMargin = 40;
constexpr int buttonGap = 5;

constexpr int resultYes = 6;
constexpr int resultNo = 7;
constexpr int resultCancel = 2;

QPushButton* makeButton(QWidget* parent, const char* name, int left)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 0, 75, 25);
    return button;
}

// A line wider than the room: quoted names (file names, mostly) lose their middle first, then the
// line is broken, between words where it can, anywhere else where a word alone is too wide.
QString lineFit(const QString& line, const QFont& font, int room)
{
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(line) <= room)
        return line;
    QString fitted = line;
    static const QRegularExpression quoted(QStringLiteral("'([^'\n]+)'"));
    for (;;) {
        QRegularExpressionMatch longest;
        for (auto it = quoted.globalMatch(fitted); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (!longest.hasMatch() || match.capturedLength(1) > longest.capturedLength(1))
                longest = match;
        }
        const int excess = metrics.horizontalAdvance(fitted) - room;
        if (!longest.hasMatch() || excess <= 0)
            break;
        const QString name = longest.captured(1);
        const int nameRoom = std::max(room / 3, metrics.horizontalAdvance(name) - excess);
        const QString elided = metrics.elidedText(name, Qt::ElideMiddle, nameRoom);
        if (elided == name)
            break;
        fitted.replace(longest.capturedStart(1), longest.capturedLength(1), elided);
        if (nameRoom == room / 3)
            break;
    }
    if (metrics.horizontalAdvance(fitted) <= room)
        return fitted;
    QTextLayout layout(fitted, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine part = layout.createLine(); part.isValid(); part = layout.createLine()) {
        part.setLineWidth(room);
        lines << fitted.mid(part.textStart(), part.textLength()).trimmed();
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

QString messageFit(const QString& message, const QFont& font, int room)
{
    QStringList lines = message.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = lineFit(line, font, room);
    return lines.join(QLatin1Char('\n'));
}

void retire(QPushButton* button)
{
    button->hide();
    button->setEnabled(false);
}

} // namespace

TF_Msg::TF_Msg(QWidget* owner, int symbol, const QString& message, const QString& caption, int buttonSet,
               const QString& programName)
    : QDialog(owner), IL_Symbole(MsgSymbole())
{
    setObjectName(QStringLiteral("TF_Msg"));
    QFont formFont(QStringLiteral("MS Sans Serif"));
    formFont.setPixelSize(11);
    setFont(formFont);

    GB_Info = new QGroupBox(this);
    GB_Info->setObjectName(QStringLiteral("GB_Info"));
    I_Symbol = new QLabel(GB_Info);
    I_Symbol->setObjectName(QStringLiteral("I_Symbol"));
    I_Symbol->setGeometry(5, 8, MsgSymbolGroesse, MsgSymbolGroesse);
    L_ProgName = new QLabel(QStringLiteral("Programm"), GB_Info);
    L_ProgName->setObjectName(QStringLiteral("L_ProgName"));
    QFont nameFont(QStringLiteral("Courier New"));
    nameFont.setPixelSize(27);
    nameFont.setBold(true);
    L_ProgName->setFont(nameFont);
    L_ProgName->setTextFormat(Qt::PlainText);
    // The designed 24 pixels cut off the descenders of a 27-pixel font: the label is as tall as a line.
    L_ProgName->setGeometry(48, 12, 177, std::max(24, QFontMetrics(nameFont).height()));

    P_Dummy = new QWidget(this);
    P_Dummy->setObjectName(QStringLiteral("P_Dummy"));
    L_Msgtxt = new QLabel(QStringLiteral("Meldung"), this);
    L_Msgtxt->setObjectName(QStringLiteral("L_Msgtxt"));
    L_Msgtxt->setTextFormat(Qt::PlainText);
    P_Buttons = new QWidget(this);
    P_Buttons->setObjectName(QStringLiteral("P_Buttons"));
    B_11 = makeButton(P_Buttons, "B_11", 4);
    B_12 = makeButton(P_Buttons, "B_12", 82);
    B_13 = makeButton(P_Buttons, "B_13", 162);
    B_11->setDefault(true);
    connect(B_11, &QPushButton::clicked, this, [this] { done(resultYes); });
    connect(B_12, &QPushButton::clicked, this, [this] { done(resultNo); });
    connect(B_13, &QPushButton::clicked, this, [this] { done(resultCancel); });

    chooseButtons(buttonSet);
    setWindowTitle(caption);

    // Never wider than the screen: what is shortened or broken is whole in the tooltip.
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const int room = std::max(leastWidth, screenWidth - 2 * textMargin) - textMargin;
    const QString shown = messageFit(message, L_Msgtxt->font(), room);
    L_Msgtxt->setText(shown);
    if (shown != message)
        L_Msgtxt->setToolTip(message);
    const QSize textSize = QFontMetrics(L_Msgtxt->font()).size(0, shown);
    // A message of more lines than the designed box holds makes the box taller by what is missing.
    const int designedTextHeight = clientHeight - buttonsHeight - infoHeight - spacerHeight;
    m_clientHeight = clientHeight + std::max(0, textSize.height() - designedTextHeight);
    setFixedSize(std::max(leastWidth, textSize.width() + textMargin), m_clientHeight);
    L_Msgtxt->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    placePanels();

    I_Symbol->setPixmap(MsgSymbol(symbol));
    L_ProgName->setText(programName);
    const int nameWidth = QFontMetrics(nameFont).horizontalAdvance(programName);
    if (nameWidth > L_ProgName->width())
        L_ProgName->resize(std::min(nameWidth, width() - L_ProgName->x() - 2), L_ProgName->height());

    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void TF_Msg::chooseButtons(int buttonSet)
{
    m_escapeButton = nullptr;
    Knopfsatz = buttonSet;
    switch (buttonSet) {
    case 0:
        Knopfzahl = 2;
        B_11->setText(QStringLiteral("&Ja"));
        B_12->setText(QStringLiteral("&Nein"));
        retire(B_13);
        m_escapeButton = B_12;
        break;
    case 1:
        Knopfzahl = 3;
        B_11->setText(QStringLiteral("&Ja"));
        B_12->setText(QStringLiteral("&Nein"));
        B_13->setText(QStringLiteral("&Abbruch"));
        m_escapeButton = B_13;
        break;
    case 3:
        Knopfzahl = 1;
        B_11->setText(QStringLiteral("&Schade"));
        retire(B_12);
        retire(B_13);
        break;
    default: // 2, and any unknown set gets the plain "&Ok"
        Knopfzahl = 1;
        B_11->setText(QStringLiteral("&Ok"));
        retire(B_12);
        retire(B_13);
        break;
    }
}

void TF_Msg::reject()
{
    done(resultCancel);
}

void TF_Msg::keyPressEvent(QKeyEvent* event)
{
    // QDialog would reject on Escape; only a set with a cancel button may close that way.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_escapeButton)
            m_escapeButton->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TF_Msg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placePanels();
}

// P_Buttons always spans the whole dialog, so its button row is rearranged wherever the panels are
// placed: before the first show a hidden widget gets no resize event of its own.
void TF_Msg::placePanels()
{
    const int w = width();
    GB_Info->setGeometry(0, 0, w, infoHeight);
    P_Dummy->setGeometry(0, infoHeight, w, spacerHeight);
    const int textTop = infoHeight + spacerHeight;
    L_Msgtxt->setGeometry(0, textTop, w, m_clientHeight - buttonsHeight - textTop);
    P_Buttons->setGeometry(0, m_clientHeight - buttonsHeight, w, buttonsHeight);
    P_ButtonsResize();
}

// W is the dialog's width(), not the outer frame's: Qt knows the frame only once the window manager
// shows the box, and so the row is centred in the client area the user sees.
void TF_Msg::P_ButtonsResize()
{
    const int w = width();
    switch (Knopfzahl) {
    case 1:
        B_11->move((w - B_11->width()) / 2, 0);
        break;
    case 2:
        B_11->move((w - B_11->width() - B_12->width() - buttonGap) / 2, 0);
        B_12->move(B_11->x() + B_11->width() + buttonGap, 0);
        break;
    case 3:
        B_11->move((w - B_11->width() - B_12->width() - B_13->width() - 2 * buttonGap) / 2, 0);
        B_12->move(B_11->x() + B_11->width() + buttonGap, 0);
        B_13->move(B_12->x() + B_12->width() + buttonGap, 0);
        break;
    default:
        break;
    }
}
