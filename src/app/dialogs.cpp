#include "dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace dialogs {
namespace {
Responder& responder()
{
    static Responder r;
    return r;
}

FileChooser& fileChooser()
{
    static FileChooser c;
    return c;
}
} // namespace

void setResponder(Responder r) { responder() = std::move(r); }

void setFileChooser(FileChooser c) { fileChooser() = std::move(c); }

QString fileName(FileAccess access, const QString& title, const QString& suggestedPath,
                 const QString& filter)
{
    if (fileChooser())
        return fileChooser()(access, title, suggestedPath, filter);
    // The platform's own dialog where the desktop offers one; it asks before replacing a file.
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), filter);
    const QFileInfo suggested(suggestedPath);
    if (access == FileAccess::Open) {
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDirectory(suggested.isDir() ? suggestedPath : suggested.absolutePath());
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDirectory(suggested.absolutePath());
        dialog.selectFile(suggested.fileName());
        // A name typed without its ending gets the one of the files offered.
        if (!suggested.suffix().isEmpty())
            dialog.setDefaultSuffix(suggested.suffix());
        // Where several kinds are offered, the ending of the kind chosen.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
            static const QRegularExpression ending(QStringLiteral("\\*\\.(\\w+)"));
            if (const QRegularExpressionMatch m = ending.match(f); m.hasMatch())
                dialog.setDefaultSuffix(m.captured(1));
        });
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString shownName(QString name)
{
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    return name;
}

QStringList fileNames(const QString& title, const QString& folder, const QString& filter)
{
    if (fileChooser())
        return fileChooser()(FileAccess::OpenSeveral, title, folder, filter)
            .split(u'\n', Qt::SkipEmptyParts);
    QFileDialog dialog(QApplication::activeWindow(), title, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

int msgBox(const QString& prompt, int style, const QString& title)
{
    if (responder())
        return responder()(prompt, style, title);

    const bool yesNo = style == YesNo;
    QMessageBox box(style == Information ? QMessageBox::Information : QMessageBox::Question, title,
                    prompt, yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
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
