#include "forms/PrgInfoForm.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "forms/Cp1252Eingabe.h"
#include "forms/ModelText.h"
#include "table/AkkordDepot.h"

namespace {

const QString programName = QStringLiteral("Zupfwerk");
const QString programVersion = QStringLiteral("1.4");
constexpr int nameRestLength = 50;

QFont nameFont(int pixelSize)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void textColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// A fretboard cut-out: the neck, three frets, six strings and two fingers.
QPixmap programIcon()
{
    constexpr int size = 32;
    QPixmap icon(size, size);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(70, 40, 15), 1));
    painter.setBrush(QColor(150, 95, 45));
    painter.drawRoundedRect(QRectF(1.5, 4.5, size - 3, size - 9), 3, 3);
    painter.setPen(QPen(QColor(225, 225, 225), 2));
    for (int fret = 0; fret < 3; ++fret)
        painter.drawLine(QPointF(9 + fret * 9, 5), QPointF(9 + fret * 9, size - 5));
    painter.setPen(QPen(QColor(250, 240, 200), 1));
    for (int string = 0; string < 6; ++string)
        painter.drawLine(QPointF(2, 7.5 + string * 3.4), QPointF(size - 2, 7.5 + string * 3.4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(13.5, 10.9), 2.6, 2.6);
    painter.drawEllipse(QPointF(22.5, 17.7), 2.6, 2.6);
    return icon;
}

} // namespace

TF_PrgInfo::TF_PrgInfo(QWidget* owner, const AkkordDepotClass& dokument, const QString& tabellenName,
                       bool hinweise)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("TF_PrgInfo"));
    setWindowTitle(QStringLiteral("Info"));
    createControls();
    createLayout();
    fill(dokument, tabellenName);
    hintsShown(hinweise);
    connect(BB_Exitbutton, &QPushButton::clicked, this, &QDialog::accept);

    adjustSize();
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

bool TF_PrgInfo::instrumentGeaendert() const
{
    return E_Instrument->isModified();
}

QString TF_PrgInfo::instrument() const
{
    return E_Instrument->text();
}

bool TF_PrgInfo::infoGeaendert() const
{
    return M_Grifftabelle->document()->isModified();
}

QString TF_PrgInfo::info() const
{
    return M_Grifftabelle->toPlainText();
}

void TF_PrgInfo::createControls()
{
    PC_Info = new QTabWidget(this);
    PC_Info->setObjectName(QStringLiteral("PC_Info"));
    PC_Info->setStatusTip(QStringLiteral("Infos"));

    TS_Grifftabelle = new QWidget;
    TS_Grifftabelle->setObjectName(QStringLiteral("TS_Grifftabelle"));
    TS_Grifftabelle->setStatusTip(QStringLiteral("Info über die Grifftabelle"));
    GB_Instrument = new QGroupBox(QStringLiteral("Instrument"), TS_Grifftabelle);
    GB_Instrument->setObjectName(QStringLiteral("GB_Instrument"));
    E_Instrument = new QLineEdit(GB_Instrument);
    E_Instrument->setObjectName(QStringLiteral("E_Instrument"));
    E_Instrument->setStatusTip(QStringLiteral("Instrumentenbezeichnung"));
    E_Instrument->setValidator(new Cp1252Eingabe(E_Instrument));
    L_Instrument = new QLabel(QStringLiteral("&Bezeichnung"), GB_Instrument);
    L_Instrument->setObjectName(QStringLiteral("L_Instrument"));
    L_Instrument->setBuddy(E_Instrument);
    E_Stimmung = new QLineEdit(GB_Instrument);
    E_Stimmung->setObjectName(QStringLiteral("E_Stimmung"));
    E_Stimmung->setStatusTip(QStringLiteral("Die Stimmung der Klampfe"));
    E_Stimmung->setReadOnly(true);
    L_Stimmung = new QLabel(QStringLiteral("Stimmung"), GB_Instrument);
    L_Stimmung->setObjectName(QStringLiteral("L_Stimmung"));
    L_Stimmung->setBuddy(E_Stimmung);

    GB_Infotext = new QGroupBox(TS_Grifftabelle);
    GB_Infotext->setObjectName(QStringLiteral("GB_Infotext"));
    GB_Infotext->setStatusTip(QStringLiteral("Zurück zum Hauptprogramm"));
    L_AkkordanzTxt = new QLabel(QStringLiteral("Gespeicherte Griffe: "), GB_Infotext);
    L_AkkordanzTxt->setObjectName(QStringLiteral("L_AkkordanzTxt"));
    L_AkkordanzTxt->setStatusTip(QStringLiteral("Anzahl der gespeicherten Griffe"));
    L_Akkordanz = new QLabel(GB_Infotext);
    L_Akkordanz->setObjectName(QStringLiteral("L_Akkordanz"));
    L_Akkordanz->setStatusTip(QStringLiteral("Anzahl der gespeicherten Griffe"));
    M_Grifftabelle = new QPlainTextEdit(GB_Infotext);
    M_Grifftabelle->setObjectName(QStringLiteral("M_Grifftabelle"));
    M_Grifftabelle->setStatusTip(QStringLiteral("Info über die geladene Grifftabelle"));
    nurCp1252(M_Grifftabelle);
    L_Grifftabelle = new QLabel(QStringLiteral("&Info zur geladenen Grifftabelle"), GB_Infotext);
    L_Grifftabelle->setObjectName(QStringLiteral("L_Grifftabelle"));
    L_Grifftabelle->setBuddy(M_Grifftabelle);

    TS_Programm = new QWidget;
    TS_Programm->setObjectName(QStringLiteral("TS_Programm"));
    TS_Programm->setStatusTip(QStringLiteral("Programminfo"));
    // The first letter stands white on a dark block, so it reads as a logo beside the black rest.
    L_ProgName1 = new QLabel(TS_Programm);
    L_ProgName1->setObjectName(QStringLiteral("L_ProgName1"));
    L_ProgName1->setFont(nameFont(56));
    L_ProgName1->setAlignment(Qt::AlignCenter);
    L_ProgName1->setAutoFillBackground(true);
    QPalette block = L_ProgName1->palette();
    block.setColor(QPalette::Window, QColor(0, 0, 128));
    block.setColor(QPalette::WindowText, Qt::white);
    L_ProgName1->setPalette(block);
    L_ProgName2 = new QLabel(TS_Programm);
    L_ProgName2->setObjectName(QStringLiteral("L_ProgName2"));
    L_ProgName2->setFont(nameFont(32));
    textColour(L_ProgName2, Qt::black);
    L_ProgName2Schatten = new QLabel(TS_Programm);
    L_ProgName2Schatten->setObjectName(QStringLiteral("L_ProgName2Schatten"));
    L_ProgName2Schatten->setFont(nameFont(32));
    textColour(L_ProgName2Schatten, palette().color(QPalette::Shadow));
    L_ProgName2Schatten->setVisible(false);
    I_PrgIcon = new QLabel(TS_Programm);
    I_PrgIcon->setObjectName(QStringLiteral("I_PrgIcon"));
    I_PrgIcon->setPixmap(programIcon());
    P_Version = new QFrame(TS_Programm);
    P_Version->setObjectName(QStringLiteral("P_Version"));
    P_Version->setFrameShape(QFrame::Panel);
    P_Version->setFrameShadow(QFrame::Sunken);
    L_ProgrammversionTxt = new QLabel(QStringLiteral("Version"), P_Version);
    L_ProgrammversionTxt->setObjectName(QStringLiteral("L_ProgrammversionTxt"));
    L_Programmversion = new QLabel(P_Version);
    L_Programmversion->setObjectName(QStringLiteral("L_Programmversion"));

    PC_Info->addTab(TS_Grifftabelle, QStringLiteral("Grifftabelle"));
    PC_Info->addTab(TS_Programm, QStringLiteral("Programm"));

    BB_Exitbutton = new QPushButton(QStringLiteral("&Ok"), this);
    BB_Exitbutton->setObjectName(QStringLiteral("BB_Exitbutton"));
    BB_Exitbutton->setStatusTip(QStringLiteral("Zurück zum Programm"));
    BB_Exitbutton->setDefault(true);
}

void TF_PrgInfo::createLayout()
{
    auto* instrument = new QGridLayout(GB_Instrument);
    instrument->addWidget(L_Instrument, 0, 0);
    instrument->addWidget(E_Instrument, 0, 1);
    instrument->addWidget(L_Stimmung, 1, 0);
    instrument->addWidget(E_Stimmung, 1, 1);

    auto* count = new QHBoxLayout;
    count->addWidget(L_AkkordanzTxt);
    count->addWidget(L_Akkordanz);
    count->addStretch();
    auto* infotext = new QVBoxLayout(GB_Infotext);
    infotext->addLayout(count);
    infotext->addWidget(L_Grifftabelle);
    infotext->addWidget(M_Grifftabelle);
    M_Grifftabelle->setFixedSize(320, 110);

    auto* table = new QVBoxLayout(TS_Grifftabelle);
    table->addWidget(GB_Instrument);
    table->addWidget(GB_Infotext);

    auto* version = new QHBoxLayout(P_Version);
    version->addWidget(L_ProgrammversionTxt);
    version->addWidget(L_Programmversion);
    version->addStretch();

    auto* name = new QHBoxLayout;
    L_ProgName1->setFixedSize(64, 72);
    name->addWidget(L_ProgName1);
    name->addWidget(L_ProgName2, 0, Qt::AlignBottom);
    name->addWidget(L_ProgName2Schatten, 0, Qt::AlignBottom);
    name->addStretch();
    name->addWidget(I_PrgIcon, 0, Qt::AlignTop);
    auto* program = new QVBoxLayout(TS_Programm);
    program->addLayout(name);
    program->addStretch();
    program->addWidget(P_Version);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BB_Exitbutton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PC_Info);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TF_PrgInfo::fill(const AkkordDepotClass& dokument, const QString& tabellenName)
{
    L_Akkordanz->setText(QString::number(dokument.Anzahl()));
    L_ProgName1->setText(programName.left(1));
    L_ProgName2->setText(programName.mid(1, nameRestLength));
    L_ProgName2Schatten->setText(L_ProgName2->text());
    L_Programmversion->setText(programVersion);
    GB_Infotext->setTitle(QLatin1Char('\'') + tabellenName + QLatin1Char('\''));

    const QString instrument = modelToQt(dokument.Text(0));
    E_Instrument->setText(instrument.isEmpty() ? QStringLiteral("Gitarre") : instrument);
    E_Instrument->setReadOnly(dokument.InstrumentNurLesen());
    M_Grifftabelle->setPlainText(modelToQt(dokument.Text(1)));
    M_Grifftabelle->setReadOnly(dokument.InfoNurLesen());
    E_Stimmung->setText(modelToQt(dokument.AlsText()));

    E_Instrument->setModified(false);
    M_Grifftabelle->document()->setModified(false);
}

void TF_PrgInfo::hintsShown(bool shown)
{
    for (QWidget* widget : findChildren<QWidget*>())
        widget->setToolTip(shown ? widget->statusTip() : QString());
    for (int page = 0; page < PC_Info->count(); ++page)
        PC_Info->setTabToolTip(page, shown ? PC_Info->widget(page)->statusTip() : QString());
}
