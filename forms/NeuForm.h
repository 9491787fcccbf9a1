#pragma once

#include <QDialog>

#include "theory/Stimm.h"

class AkkordDepotClass;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPoint;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;

// Sets up a new chord table: strings and tuning, instrument name, info text and whether the chord
// recognition is kept. Works on its own copy of the document's tuning; the caller takes the results
// over after exec() ends with Accepted.
class TF_Neu : public QDialog
{
    Q_OBJECT

public:
    TF_Neu(QWidget* owner, const AkkordDepotClass& dokument);

    const StimmClass& stimmung() const { return m_stimmung; }
    QString instrument() const;
    QString info() const;
    bool erkennungBehalten() const;

    QTabWidget* PC_Neu = nullptr;
    QWidget* TS_Saiten = nullptr;
    QLabel* L_Saiten = nullptr;
    QListWidget* LB_Saiten = nullptr;
    QGroupBox* GB_Stimmen = nullptr;
    QLabel* L_TonAendern = nullptr;
    QSpinBox* UD_Ton = nullptr;
    QLabel* L_OktaveAendern = nullptr;
    QSpinBox* UD_Oktave = nullptr;
    QWidget* TS_Info = nullptr;
    QLabel* L_Instumentenbez = nullptr;
    QLineEdit* E_Instrument = nullptr;
    QLabel* L_Info = nullptr;
    QPlainTextEdit* M_Info = nullptr;
    QWidget* TS_Sonst = nullptr;
    QCheckBox* CB_ErkennungBehalten = nullptr;
    QPushButton* BB_Ok = nullptr;
    QPushButton* BB_Abbruch = nullptr;

    QMenu* PM_Saiten = nullptr;
    QAction* PMI_Hoch = nullptr;
    QAction* PMI_Runter = nullptr;
    QAction* PMI_SaiteZufuegen = nullptr;
    QAction* PMI_SaiteEntfernen = nullptr;
    QAction* PMI_StimmTonHoch = nullptr;
    QAction* PMI_StimmTonTief = nullptr;
    QAction* PMI_StimmOktHoch = nullptr;
    QAction* PMI_StimmOktTief = nullptr;

    void FormCreate();
    void LB_SaitenClick();
    void LB_SaitenStartDrag();
    // Whether a drag over the list may drop there: only one that started in it.
    bool LB_SaitenDragOver() const { return m_ziehen; }
    // zielZeile: the list line under the mouse, -1 outside the lines.
    void LB_SaitenDragDrop(int zielZeile);
    void UD_TonClick();
    void UD_OktaveClick();
    void PMI_HochClick();
    void PMI_RunterClick();
    void PMI_SaiteZufuegenClick();
    void PMI_SaiteEntfernenClick();
    void PMI_StimmTonHochClick();
    void PMI_StimmTonTiefClick();
    void PMI_StimmOktHochClick();
    void PMI_StimmOktTiefClick();

    // A drag that ended without a drop on the list leaves no dragging flag behind.
    void dragFinished() { m_ziehen = false; }

private:
    void createControls();
    void createActions();
    void createLayout();
    void listFill(int line);
    void controlsUpdate();
    int selectedLine() const;
    // 0-based position in the tuning of the string shown on a line.
    int positionOfLine(int line) const;
    void selectedStringWrite();
    void showStringMenu(const QPoint& position);

    StimmClass m_stimmung;
    bool m_ziehen = false;
};
