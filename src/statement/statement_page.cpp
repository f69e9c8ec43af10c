#include "statement_page.h"

#include "statement_layout.h"

namespace statement_page {

printing::Sheet sheet(const Statement& statement)
{
    printing::Sheet page{statementLayout(), {}, {"cmdCalculate", "cmdPrint", "cmdClear", "cmdExit"}};
    for (int box = 0; box < BoxCount; ++box)
        page.texts.insert(boxName(box), statement.box(box));
    page.texts.insert(QStringLiteral("lstStations"), statement.stationText());
    page.texts.insert(QStringLiteral("lstMonths"), statement.monthName());
    const std::optional<Totals>& totals = statement.totals();
    const auto shown = [&](qint64 Totals::*total) {
        return totals ? money::currency((*totals).*total, statement.locale()) : QString();
    };
    for (const char* income : {"lblCost", "lblTcost"})
        page.texts.insert(QLatin1String(income), shown(&Totals::income));
    for (const char* expenses : {"lblTexpenses", "lblMinus"})
        page.texts.insert(QLatin1String(expenses), shown(&Totals::expenses));
    page.texts.insert(QStringLiteral("lblEnd"), shown(&Totals::balance));
    return page;
}

printing::Outcome save(const statement_file::Saved& saved, const QString& path)
{
    return printing::savePage(sheet(saved.statement), saved.statement.title(), path,
                              statement_file::packet(saved));
}

} // namespace statement_page
