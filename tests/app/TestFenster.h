#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>

#include <memory>

#include "forms/MeldungZeigen.h"

class AkkordDepotClass;
class TF_Main;

// A main window started in its own folder with its own settings file, every message box answered.
class TestFenster
{
public:
    // Copies the bundled chord table into a fresh working folder and answers every box.
    TestFenster();
    ~TestFenster();
    TestFenster(const TestFenster&) = delete;
    TestFenster& operator=(const TestFenster&) = delete;

    TF_Main& start();
    TF_Main& window() { return *m_window; }
    void stop();

    QString iniText() const;
    void writeIni(const QByteArray& text) const;
    QString file(const QString& name) const { return m_dir.filePath(name); }

    // What the boxes asked, and the answers to give in turn (6 when none is left).
    QList<MeldungsAnfrage> asked;
    QList<int> answers;

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    std::unique_ptr<TF_Main> m_window;
};

extern const QString defaultTableName;

// Frets per string from the low E upward: 'x' muted, '0' open, digits fretted with the given fingers.
void setGrip(AkkordDepotClass& doc, const char* frets, const char* fingers);
// Major "", minor "m", "6" and "m7"; the fifth is optional but in "6".
void smallCatalogue(AkkordDepotClass& doc);
// The middle of the spot at that fret and string, in the fretboard's coordinates.
QPoint spotCentre(TF_Main& window, int bund, int saite);
