#include "dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace dialogs {
namespace {
Responder& responder()
{
    static Responder r;
    return r;
}
} // namespace

void setResponder(Responder r) { responder() = std::move(r); }

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
