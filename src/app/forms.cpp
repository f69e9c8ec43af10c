#include "forms.h"

#include "statement/statement_form.h"

namespace {
Forms* g_current = nullptr;
}

Forms::Forms() {
    Q_ASSERT_X(!g_current, "Forms", "one set of windows at a time");
    g_current = this;
}

Forms::~Forms() {
    m_statement.reset();
    g_current = nullptr;
}

Forms& Forms::current() {
    Q_ASSERT(g_current);
    return *g_current;
}

StatementForm& Forms::statement() {
    if (!m_statement)
        m_statement = std::make_unique<StatementForm>(m_registry);
    return *m_statement;
}
