#include "app/forms.h"
#include "statement/statement_form.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qm415"));
    QApplication::setDesktopFileName(QStringLiteral("qm415"));
    // The program ends when no window is loaded any more, not when the last one is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    int result = 0;
    {
        Forms forms;
        frmQM415().load();
        frmQM415().show();
        result = QApplication::exec();
        // Windows unloaded by the last handler are still waiting to be deleted.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return result;
}
