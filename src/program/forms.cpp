#include "forms.h"

#include "popcalc/popcalc_form.h"
#include "statement/statement_form.h"
#include "summary/summary_form.h"

namespace {
Forms* g_current = nullptr;
}

Forms::Forms()
{
    Q_ASSERT_X(!g_current, "Forms", "one set of windows at a time");
    g_current = this;
}

Forms::~Forms()
{
    m_summary.reset();
    m_pop.reset();
    m_p2.reset();
    m_statement.reset();
    g_current = nullptr;
}

Forms& Forms::current()
{
    Q_ASSERT(g_current);
    return *g_current;
}

StatementForm& Forms::statement()
{
    // Each pop-money line of the statement has its own calculator.
    if (!m_statement)
        m_statement = std::make_unique<StatementForm>(
            m_registry, [this](const HandOff& total) { pop().open(total); },
            [this](const HandOff& total) { p2().open(total); },
            [this](const QStringList& files) { summary().summarise(files); });
    return *m_statement;
}

SummaryForm& Forms::summary()
{
    // A row of the summary opens in the statement window, after its question as usual.
    if (!m_summary)
        m_summary = std::make_unique<SummaryForm>(m_registry, [this](const QString& file) {
            statement().show();
            statement().openFile(file);
        });
    return *m_summary;
}

PopCalcForm& Forms::pop()
{
    if (!m_pop)
        m_pop = std::make_unique<PopCalcForm>(m_registry, popConfig());
    return *m_pop;
}

PopCalcForm& Forms::p2()
{
    if (!m_p2)
        m_p2 = std::make_unique<PopCalcForm>(m_registry, p2Config());
    return *m_p2;
}
