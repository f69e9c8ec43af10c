#pragma once

#include "model/statement_file.h"
#include "paper/printing.h"

// The statement's page, drawn from the statement as data by the layout table of its window:
// every box, the station and the month as the statement holds them, its totals on show, and
// none of the window's buttons.
namespace statement_page {

printing::Sheet sheet(const Statement& statement);

// The page saved as a PDF with the statement inside, in its metadata.
printing::Outcome save(const statement_file::Saved& saved, const QString& path);

} // namespace statement_page
