#include "statement.h"

#include "amounts.h"

#include <algorithm>

QString boxName(int box)
{
    for (const BoxArray& array : BoxArrays) {
        if (box < array.count)
            return QStringLiteral("%1(%2)").arg(QLatin1String(array.name)).arg(box);
        box -= array.count;
    }
    return {};
}

int boxIndex(const QString& name)
{
    int first = 0;
    for (const BoxArray& array : BoxArrays) {
        const QString prefix = QLatin1String(array.name) + QLatin1Char('(');
        if (name.startsWith(prefix) && name.endsWith(QLatin1Char(')'))) {
            bool ok = false;
            const int index = name.mid(prefix.size(), name.size() - prefix.size() - 1).toInt(&ok);
            if (ok && index >= 0 && index < array.count && boxName(first + index) == name)
                return first + index;
        }
        first += array.count;
    }
    return -1;
}

bool isAmountBox(int box) { return box >= 0 && box < IncomeBoxes.count + ExpenseBoxes.count; }

QString stationName(int n) { return QStringLiteral("Station ") + QString::number(n); }

Statement::Statement(const QLocale& locale) : m_locale(locale)
{
    m_amounts.fill({money::Status::Empty, 0});
}

void Statement::setStation(int picked, const QString& text)
{
    if (picked == m_station && text == m_stationText)
        return;
    m_station = picked;
    m_stationText = text;
    m_calculated = false;
}

void Statement::setMonth(int month)
{
    if (month == m_month)
        return;
    m_month = month;
    m_calculated = false;
}

QString Statement::monthName() const
{
    return m_month == 0 ? QString() : m_locale.standaloneMonthName(m_month, QLocale::LongFormat);
}

void Statement::setBox(int box, const QString& text)
{
    if (text == m_boxes[box])
        return;
    m_boxes[box] = text;
    m_amounts[box] = isAmountBox(box) ? money::read(text, m_locale)
                                      : money::Amount{money::Status::Empty, 0};
    m_calculated = false;
}

bool Statement::isEmpty() const
{
    return m_station == 0 && m_stationText.isEmpty() && m_month == 0 &&
           std::all_of(m_boxes.begin(), m_boxes.end(), [](const QString& t) { return t.isEmpty(); });
}

std::optional<EntryProblem> Statement::check() const
{
    if (m_station == 0)
        return EntryProblem{QStringLiteral("lstStations"), QStringLiteral("You must select a Station"),
                            QStringLiteral("List a Station")};
    if (m_month == 0)
        return EntryProblem{QStringLiteral("lstMonths"), QStringLiteral("You must select a Month"),
                            QStringLiteral("List a Month")};
    return amountProblem();
}

std::optional<EntryProblem> Statement::amountProblem() const
{
    // Income boxes before expense boxes, each from the lowest index up.
    for (int box = 0; isAmountBox(box); ++box)
        if (const auto prompt = amounts::problem(m_amounts[box]))
            return EntryProblem{boxName(box), *prompt, QStringLiteral("Input Error")};
    return std::nullopt;
}

std::optional<EntryProblem> Statement::calculate()
{
    if (auto problem = check())
        return problem;
    Totals totals;
    for (int box = 0; isAmountBox(box); ++box) {
        const qint64 cents = amounts::counted(m_amounts[box]);
        (box < IncomeBoxes.count ? totals.income : totals.expenses) += cents;
        m_boxes[box] = amounts::rewritten(m_amounts[box], m_locale);
        m_amounts[box] = cents != 0 ? money::Amount{money::Status::Number, cents}
                                    : money::Amount{money::Status::Empty, 0};
    }
    totals.balance = totals.income - totals.expenses;
    m_totals = totals;
    m_calculated = true;
    return std::nullopt;
}

QString Statement::title() const
{
    QStringList kept;
    for (QString word : {QStringLiteral("FORM QM-415"), m_stationText, monthName()}) {
        // A slash would make a folder of part of the name; control characters have no place.
        for (QChar& c : word)
            if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
                c = u'-';
        word = word.simplified();
        if (!word.isEmpty())
            kept << word;
    }
    return kept.join(u' ');
}

std::optional<Statement> Statement::nextMonth() const
{
    if (!m_calculated)
        return std::nullopt;
    Statement next(m_locale);
    next.setStation(m_station, m_stationText);
    next.setMonth(monthAfter(m_month));
    next.setBox(0, amounts::rewritten({money::Status::Number, m_totals->balance}, m_locale));
    return next;
}

Statement Statement::inLocale(const QLocale& locale) const
{
    // Written where it is read: the texts stay exactly as they are.
    if (locale.name() == m_locale.name()) {
        Statement same = *this;
        same.m_locale = locale;
        return same;
    }
    Statement other(locale);
    other.m_station = m_station;
    other.m_stationText = m_stationText;
    other.m_month = m_month;
    for (int box = 0; box < BoxCount; ++box) {
        const bool number = m_amounts[box].status == money::Status::Number;
        other.setBox(box, number ? money::standard(m_amounts[box].cents, locale) : m_boxes[box]);
    }
    other.m_totals = m_totals;
    other.m_calculated = m_calculated;
    return other;
}
