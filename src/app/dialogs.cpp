#include "dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace dialogs {
namespace {
Responder& responder()
{
    static Responder r;
    return r;
}

SaveChooser& saveChooser()
{
    static SaveChooser c;
    return c;
}
} // namespace

void setResponder(Responder r) { responder() = std::move(r); }

void setSaveChooser(SaveChooser c) { saveChooser() = std::move(c); }

QString saveFileName(const QString& title, const QString& suggestedPath, const QString& filter)
{
    if (saveChooser())
        return saveChooser()(title, suggestedPath, filter);
    // The platform's own dialog where the desktop offers one; it asks before replacing a file.
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDirectory(QFileInfo(suggestedPath).absolutePath());
    dialog.selectFile(QFileInfo(suggestedPath).fileName());
    // A name typed without its ending gets the one of the files offered.
    const QString ending = QFileInfo(suggestedPath).suffix();
    if (!ending.isEmpty())
        dialog.setDefaultSuffix(ending);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

int msgBox(const QString& prompt, int style, const QString& title)
{
    if (responder())
        return responder()(prompt, style, title);

    const bool yesNo = style == YesNo;
    QMessageBox box(style == Information ? QMessageBox::Information : QMessageBox::Question, title,
                    prompt, yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    default:
        return Ok;
    }
}

} // namespace dialogs
