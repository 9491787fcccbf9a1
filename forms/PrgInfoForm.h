#pragma once

#include <QDialog>

class AkkordDepotClass;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;

// Shows the chord table's instrument, tuning, grip count and info text, and the program's name and
// version. The texts are editable only where the document allows it; the caller stores an edited
// text after exec().
class TF_PrgInfo : public QDialog
{
    Q_OBJECT

public:
    // tabellenName: the file name without folder and extension, or "(unbenannt)"; hinweise: whether
    // the controls show their hints as tooltips.
    TF_PrgInfo(QWidget* owner, const AkkordDepotClass& dokument, const QString& tabellenName, bool hinweise);

    bool instrumentGeaendert() const;
    QString instrument() const;
    bool infoGeaendert() const;
    QString info() const;

    QTabWidget* PC_Info = nullptr;
    QWidget* TS_Grifftabelle = nullptr;
    QGroupBox* GB_Instrument = nullptr;
    QLabel* L_Instrument = nullptr;
    QLineEdit* E_Instrument = nullptr;
    QLabel* L_Stimmung = nullptr;
    QLineEdit* E_Stimmung = nullptr;
    QGroupBox* GB_Infotext = nullptr;
    QLabel* L_AkkordanzTxt = nullptr;
    QLabel* L_Akkordanz = nullptr;
    QLabel* L_Grifftabelle = nullptr;
    QPlainTextEdit* M_Grifftabelle = nullptr;
    QWidget* TS_Programm = nullptr;
    QLabel* L_ProgName1 = nullptr;
    QLabel* L_ProgName2 = nullptr;
    QLabel* L_ProgName2Schatten = nullptr;
    QLabel* I_PrgIcon = nullptr;
    QFrame* P_Version = nullptr;
    QLabel* L_ProgrammversionTxt = nullptr;
    QLabel* L_Programmversion = nullptr;
    QPushButton* BB_Exitbutton = nullptr;

private:
    void createControls();
    void createLayout();
    void fill(const AkkordDepotClass& dokument, const QString& tabellenName);
    void hintsShown(bool shown);
};
