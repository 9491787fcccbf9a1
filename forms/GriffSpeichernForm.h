#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// Asks where the shown grip is stored: at its own fret, or transposed over a range of frets.
class TF_GriffSpeichern : public QDialog
{
    Q_OBJECT

public:
    // tiefsterBund: the grip's lowest fret, shown in the first choice; spanne: how many frets the grip
    // reaches above it, so that only positions where the whole shape fits are offered.
    explicit TF_GriffSpeichern(int tiefsterBund, QWidget* owner = nullptr, int spanne = 0);

    // exec(), or the installed answer: tests set the controls and return a result instead.
    int ausfuehren();
    using Antwort = std::function<int(TF_GriffSpeichern&)>;
    static Antwort SetzeAntwort(Antwort antwort);

    bool bereich() const;
    int vonBund() const;
    int bisBund() const;

    QRadioButton* RB_Bund = nullptr;
    QRadioButton* RB_BundBereich = nullptr;
    QLabel* L_VonBund = nullptr;
    QComboBox* TCB_VonBund = nullptr;
    QLabel* L_BisBund = nullptr;
    QComboBox* TCB_BisBund = nullptr;
    QPushButton* B_Ok = nullptr;
    QPushButton* B_Abbruch = nullptr;

    void FormActivate();
    void RB_BundClick();
    void RB_BundBereichClick();
    void TCB_VonBundExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(QComboBox* list, int from);
    void select(QComboBox* list, int bund);

    int m_ersterBund = 1;
    int m_letzterBund = 30;
    // The last range stored while the program runs.
    static int s_vonBund;
    static int s_bisBund;
};
