#pragma once

#include <functional>

#include <QApplication>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Answers the modal dialogs a command opens, one step per dialog in the order they appear.
class ModalAnswers : public QObject
{
public:
    using Step = std::function<void(QWidget*)>;

    explicit ModalAnswers(QList<Step> steps) : m_steps(std::move(steps))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswers::poll);
        m_timer.start(5);
    }
    int left() const { return int(m_steps.size()); }

private:
    void poll()
    {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog == m_last || m_steps.isEmpty())
            return;
        m_last = dialog;
        m_steps.takeFirst()(dialog);
    }

    QList<Step> m_steps;
    QTimer m_timer;
    QPointer<QWidget> m_last;
};
