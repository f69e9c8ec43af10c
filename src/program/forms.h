#pragma once

#include "app/form.h"

#include <memory>

class PopCalcForm;
class StatementForm;
class SummaryForm;

// The program's windows, each created on its first reference and kept until the end, and who
// opens whom. One set exists at a time: the running program's, or a test's.
class Forms {
public:
    Forms();
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    static Forms& current();

    FormRegistry& registry() { return m_registry; }
    StatementForm& statement();
    PopCalcForm& pop();
    PopCalcForm& p2();
    SummaryForm& summary();

private:
    FormRegistry m_registry;
    std::unique_ptr<StatementForm> m_statement;
    std::unique_ptr<PopCalcForm> m_pop;
    std::unique_ptr<PopCalcForm> m_p2;
    std::unique_ptr<SummaryForm> m_summary;
};

// The names by which the program and its tests reach each window.
inline StatementForm& frmQM415() { return Forms::current().statement(); }
inline PopCalcForm& frmPop() { return Forms::current().pop(); }
inline PopCalcForm& frmP2() { return Forms::current().p2(); }
inline SummaryForm& frmSummary() { return Forms::current().summary(); }
