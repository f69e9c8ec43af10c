#include "statement_form.h"

#include "app/dialogs.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {
const QString Title = QStringLiteral("Form QM-415");
constexpr int StationCount = 34;
} // namespace

StatementForm::StatementForm(FormRegistry& registry) : Form(registry, statementLayout())
{
    onClick("cmdCalculate", [this] { cmdCalculate_Click(); });
    onClick("cmdClear", [this] { cmdClear_Click(); });
    onClick("cmdExit", [this] { cmdExit_Click(); });
    onClick("cmdPrint", [this] { cmdPrint_Click(); });
}

float StatementForm::centredLeft(float screenWidth, float formWidth)
{
    return (screenWidth - formWidth) / 2;
}

void StatementForm::Form_Load()
{
    QWidget* w = window();
    // The outer width includes the frame, which the toolkit knows once the window exists.
    w->winId();
    const float formWidth = float(w->frameGeometry().width() * TwipsPerPixel);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const float screenWidth = float(screen->geometry().width() * TwipsPerPixel);
    m_left = centredLeft(screenWidth, formWidth);
    // The toolkit places windows on whole pixels; the fraction stays in m_left.
    // The design position puts the top well down the screen; keep the window on a small one.
    const QRect area = screen->availableGeometry();
    const int top = std::clamp(w->y(), area.top(), std::max(area.top(), area.bottom() - w->height()));
    w->move(screen->geometry().x() + qRound(m_left / TwipsPerPixel), top);

    QComboBox* stations = list("lstStations");
    for (int n = 1; n <= StationCount; ++n)
        stations->addItem(QStringLiteral("Station ") + QString::number(n));
    stations->setCurrentIndex(-1);

    QComboBox* months = list("lstMonths");
    const QLocale locale;
    for (int n = 1; n <= 12; ++n)
        months->addItem(locale.standaloneMonthName(n, QLocale::LongFormat));
    months->setCurrentIndex(-1);
}

void StatementForm::Form_Unload(qint16& cancel)
{
    if (dialogs::msgBox(QStringLiteral("Are you sure you want to exit?"), dialogs::YesNo, Title) ==
        dialogs::No)
        cancel = 1;
}

void StatementForm::cmdExit_Click() { unload(); }

void StatementForm::cmdCalculate_Click() {}

void StatementForm::cmdClear_Click() {}

void StatementForm::cmdPrint_Click() {}
