// Answers every message box that a GUI test makes the code under test show:
// records its text and closes it, so a modal box cannot hold up the test.
#pragma once

#include <utility>

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

class MessageBoxCatcher {
public:
    MessageBoxCatcher() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const auto windows = QApplication::topLevelWidgets();
            for (QWidget* w : windows) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box && box->isVisible()) {
                    m_texts << box->text();
                    box->done(QMessageBox::Ok);
                }
            }
        });
        m_timer.start();
    }
    // Texts of the boxes answered so far; cleared by Take().
    QStringList Take() { return std::exchange(m_texts, {}); }

private:
    QTimer m_timer;
    QStringList m_texts;
};
