#pragma once

#include "app/dialogs.h"

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

// Answers the program's message boxes from a script and records every box shown.
class ScriptedDialogs {
public:
    struct Box {
        QString prompt;
        int style;
        QString title;
        bool operator==(const Box&) const = default;
    };

    ScriptedDialogs()
    {
        dialogs::setResponder([this](const QString& prompt, int style, const QString& title) {
            shown.append({prompt, style, title});
            if (onShow)
                onShow();
            if (modal)
                showModal(prompt, title);
            return answers.isEmpty() ? (style == dialogs::YesNo ? dialogs::Yes : dialogs::Ok)
                                     : answers.takeFirst();
        });
        dialogs::setFileChooser([this](dialogs::FileAccess access, const QString& title,
                                       const QString& suggested, const QString& filter) {
            const bool save = access == dialogs::FileAccess::Save;
            (save ? saveDialogs : openDialogs).append({title, suggested, filter});
            QStringList& chosen = save ? saveAs : openAs;
            return chosen.isEmpty() ? QString() : chosen.takeFirst();
        });
    }
    ~ScriptedDialogs()
    {
        dialogs::setResponder({});
        dialogs::setFileChooser({});
    }

    // What the user saw, one line per box, for readable failure messages.
    QString describe() const
    {
        QStringList lines;
        for (const Box& b : shown)
            lines << QStringLiteral("[%1] %2 (style %3)").arg(b.title, b.prompt).arg(b.style);
        return lines.isEmpty() ? QStringLiteral("no message box") : lines.join(u"; ");
    }

    // A real modal box takes the keyboard from the window while it is open and hands it back
    // only after it has closed; with this set, every box shown does that, closing as soon as
    // it has the keyboard.
    static void showModal(const QString& prompt, const QString& title)
    {
        QMessageBox box(QMessageBox::Information, title, prompt, QMessageBox::Ok,
                        QApplication::activeWindow());
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, &box, [&box] {
            if (box.isActiveWindow())
                box.done(QMessageBox::Ok);
        });
        answer.start(10);
        box.exec();
    }
    bool modal = false;

    QList<int> answers; // given in order; when they run out: Yes, or OK
    QList<Box> shown;
    std::function<void()> onShow; // runs while a box is "open"

    // The save and open dialogs opened, each as {title, suggested path, filter}; the paths chosen
    // in them, in order: when they run out the user cancels.
    QList<QStringList> saveDialogs, openDialogs;
    QStringList saveAs, openAs;
};
