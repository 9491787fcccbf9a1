#pragma once

#include <array>

#include <QDialog>

class QGroupBox;
class QLabel;
class QPixmap;
class QPushButton;
class QWidget;

// The program's own message box: a symbol, the program name as a heading, the message and one of
// four button sets. Results: 6 "&Ja", "&Ok", "&Schade"; 7 "&Nein"; 2 "&Abbruch" and the close box.
class TF_Msg : public QDialog
{
    Q_OBJECT

public:
    // symbol 0 warning, 1 error, 2 question, 3 information; buttonSet 0 Ja/Nein, 1 Ja/Nein/Abbruch,
    // 2 Ok, 3 Schade.
    TF_Msg(QWidget* owner, int symbol, const QString& message, const QString& caption, int buttonSet,
           const QString& programName);

public slots:
    // Any way of closing without a button, the close box included, answers 2.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void chooseButtons(int buttonSet);
    void placePanels();
    void P_ButtonsResize();

    QGroupBox* GB_Info = nullptr;
    const std::array<QPixmap, 4>& IL_Symbole;
    QLabel* I_Symbol = nullptr;
    QLabel* L_ProgName = nullptr;
    QWidget* P_Buttons = nullptr;
    QLabel* L_Msgtxt = nullptr;
    QWidget* P_Dummy = nullptr;
    QPushButton* B_12 = nullptr;
    QPushButton* B_11 = nullptr;
    QPushButton* B_13 = nullptr;
    int Knopfsatz = 0;
    int Knopfzahl = 1;

    // The designed 143, taller when the message has more lines than the designed box holds.
    int m_clientHeight = 143;

    QPushButton* m_escapeButton = nullptr;
};
