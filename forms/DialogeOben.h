#pragma once

#include <QObject>

class QEvent;

// Keeps the program's dialogs above the chord-table window, which stays on top of every window: each
// dialog or message box, file, print and progress dialog included, gets the same hint just before it
// is first shown. Installed on the application by the main window, which owns it.
class DialogeOben : public QObject
{
public:
    explicit DialogeOben(QObject* owner);

    // Whether the window is one that must come above the chord-table window.
    static bool IstDialog(const QWidget* fenster);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
